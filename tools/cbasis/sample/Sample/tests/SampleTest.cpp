// SampleTest.cpp: checks of CSampleDoc; exits non-zero on the first failure.
#include <cstdio>

#include "SampleDoc.h"

namespace {

int Check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "SampleTest failed: %s\n", what);
    return ok ? 0 : 1;
}

}  // namespace

int main() {
    Sample::CSampleDoc doc("Notes");
    if (Check(doc.LineCount() == 0, "a new document is empty")) return 1;
    doc.AddLine("one");
    doc.AddLine("");
    if (Check(doc.LineCount() == 2, "empty lines are kept")) return 1;
    if (Check(doc.Render() == "Notes\n=====\n1. one\n2. \n", "rendering")) return 1;
    std::puts("SampleTest passed");
    return 0;
}
