// SampleApp.cpp: the Sample program prints its document.
#include <iostream>

#include "SampleDoc.h"
#include "SampleVersion.h"

int main(int argc, char** argv) {
    Sample::CSampleDoc doc(std::string(Sample::kName) + " " + Sample::kVersion);
    if (argc < 2) {
        doc.AddLine("Hello from Sample.");
        doc.AddLine("Run Sample with words to list them here.");
    }
    for (int i = 1; i < argc; ++i) doc.AddLine(argv[i]);
    std::cout << doc.Render();
    return 0;
}
