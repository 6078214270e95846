// A second writer for the log tests, in a process of its own:
//   cbasis_test_log_writer KIND ROOT TAG COUNT
// maps C: onto ROOT and opens a log of KIND (plain, running or mapped) named
// "app" in C:\logs, then says "ready" and waits for a line on its input;
// writes COUNT entries of TAG, says "done <entries not written>" and waits
// for a line again; then destroys the log. Exit 0 when every entry was
// written.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "../Writers.h"
#include "platform/kernel/Paths.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s KIND ROOT TAG COUNT\n", argv[0]);
        return 2;
    }
    PlatformSetDrive('C', argv[2]);
    std::string line;
    std::vector<int> failed;
    {
        std::unique_ptr<CLogFile> log = writers::MakeLog(argv[1]);
        std::cout << "ready" << std::endl;
        std::getline(std::cin, line);
        failed = writers::WriteEntries(*log, argv[3][0], std::atoi(argv[4]));
        std::cout << "done " << failed.size() << std::endl;
        if (!failed.empty()) std::cerr << "entry " << failed.front() << ": " << log->m_strError.str() << "\n";
        std::getline(std::cin, line);
    }
    return failed.empty() ? 0 : 1;
}
