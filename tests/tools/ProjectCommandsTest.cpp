#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/ToolTest.h"

namespace fs = std::filesystem;

namespace {

class ProjectCommandsTest : public ToolTest {};

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
    return text;
}

TEST_F(ProjectCommandsTest, NewProjectMakesACompleteRenamedProjectFromTheBuiltInSample) {
    Result made = Run({"new-project", "Demo"});
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(made.err, "");
    EXPECT_EQ(std::count(made.out.begin(), made.out.end(), '\n'), 1);

    // Every sample file arrives under its new title; texts carry the new name
    // only, binaries arrive byte for byte; headers get fresh guards.
    fs::path sample = fs::path(CBASIS_SAMPLE_DIR) / "Sample";
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(sample)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        fs::path relative = fs::relative(entry.path(), sample);
        relative.replace_filename(Replaced(relative.filename().string(), "Sample", "Demo"));
        SCOPED_TRACE(relative.string());
        std::string original = Contents(entry.path()), copy = ReadFile("Demo/" + relative.string());
        if (original.find('\0') != std::string::npos) {
            EXPECT_EQ(copy, original);
        } else if (relative.extension() == ".h") {
            EXPECT_EQ(copy.find("Sample"), std::string::npos);
            std::string name = relative.stem().string();
            std::transform(name.begin(), name.end(), name.begin(), ::toupper);
            EXPECT_NE(copy.find("AFX_" + name + "_H__"), std::string::npos);
        } else {
            EXPECT_EQ(copy, Replaced(original, "Sample", "Demo"));
        }
    }
    EXPECT_NE(made.out.find(std::to_string(files) + " files"), std::string::npos) << made.out;

    // The project is a real one: it builds and its program runs.
    if (std::system("command -v c++ >/dev/null") == 0) {
        std::string build = "cd '" + Posix("Demo") + "' && c++ -std=c++17 -Iinclude src/DemoApp.cpp src/DemoDoc.cpp " +
                            "-o demo && ./demo > out.txt";
        ASSERT_EQ(std::system(build.c_str()), 0);
        EXPECT_EQ(ReadFile("Demo/out.txt").rfind("Demo 0.1.0\n", 0), 0u);
    }

    Result again = Run({"new-project", "Demo"});
    EXPECT_EQ(again.code, 1);
    EXPECT_EQ(again.err, "cbasis new-project: Demo: Directory not empty\n");
}

TEST_F(ProjectCommandsTest, NewProjectTakesATemplateRootAndRefusesBadRequests) {
    WriteFile("tmpl/Foo/FooApp.cpp", "class CFooApp;");
    Result made = Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out/d"});
    EXPECT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(ReadFile("out/d/Bar/BarApp.cpp"), "class CBarApp;");

    struct Case {
        std::vector<std::string> args;
        int code;
        const char* text;
    } cases[] = {
        {{"new-project", "../x"}, 2, "../x: not a name a path can carry"},
        {{"new-project", "X", "--keyword", "Foo"}, 2, "--keyword needs --template-root"},
        {{"new-project", "X", "--template-root", "tmpl", "--keyword", ""}, 2, "keyword is empty"},
        {{"new-project", "X", "--template-root", "nowhere", "--keyword", "Foo"},
         1,
         "cbasis new-project: nowhere/Foo: No such file or directory"},
        {{"new-project", "X", "--template-root", "tmpl", "--keyword", "Foo", "--location", "tmpl/Foo/sub"},
         1,
         "inside the template"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
    }
    EXPECT_FALSE(Exists("X") || Exists("tmpl/Foo/sub"));
}

TEST_F(ProjectCommandsTest, RenamesCopiesAndDeletesTrees) {
    WriteFile("Foo/W/FooA/FooB/Foo.txt", "Foo");
    Result renamed = Run({"rename-in-place", "Foo/W", "Foo", "Bar"});
    EXPECT_EQ(renamed.code, 0);
    EXPECT_EQ(ReadFile("Foo/W/BarA/BarB/Bar.txt"), "Bar");  // every level, though the path holds the word
    EXPECT_NE(renamed.out.find("3 of 3"), std::string::npos) << renamed.out;
    fs::rename(Posix("Foo/W"), Posix("W"));
    EXPECT_EQ(Run({"rename-in-place", "W", "Bar", "a/b"}).code, 2);

    EXPECT_EQ(Run({"copy-tree", "W", "W/BarA/copy"}).code, 1);
    EXPECT_FALSE(Exists("W/BarA/copy"));
    EXPECT_EQ(Run({"copy-tree", "W", "C"}).code, 0);
    EXPECT_EQ(ReadFile("C/BarA/BarB/Bar.txt"), "Bar");

    Result asked = Run({"delete-tree", "C"});  // not on a terminal: --yes is needed
    EXPECT_EQ(asked.code, 2);
    EXPECT_TRUE(Exists("C/BarA/BarB/Bar.txt"));
    EXPECT_EQ(Run({"delete-tree", "C", "--yes"}).code, 0);
    EXPECT_FALSE(Exists("C"));

    WriteFile("W/ro.txt", "r");
    fs::permissions(Posix("W/ro.txt"), fs::perms::owner_read);
    Result stuck = Run({"delete-tree", "--yes", "W"});
    EXPECT_EQ(stuck.code, 1);
    EXPECT_NE(stuck.err.find("could not be deleted"), std::string::npos);
    EXPECT_TRUE(Exists("W/ro.txt"));
}

TEST_F(ProjectCommandsTest, GuardRewritesAHeadersGuard) {
    std::string guard = "VIEW_H__00000000_0000_0000_0000_000000000000";
    std::string header = "#if !defined(AFX_" + guard + "__INCLUDED_)\n#define AFX_" + guard + "__INCLUDED_\n#endif\n";
    WriteFile("View.h", header);
    Result r = Run({"guard", "View.h", "MyView"});
    EXPECT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(r.out.rfind("View.h: AFX_MYVIEW_H__", 0), 0u) << r.out;
    std::string name = r.out.substr(8, r.out.size() - 9);
    EXPECT_EQ(name.size(), std::string("AFX_MYVIEW_H____INCLUDED_").size() + 36);
    EXPECT_EQ(ReadFile("View.h"), Replaced(header, "AFX_" + guard + "__INCLUDED_", name));

    WriteFile("plain.h", "int x;\n");
    EXPECT_EQ(Run({"guard", "plain.h", "X"}).code, 1);
    EXPECT_EQ(ReadFile("plain.h"), "int x;\n");
    EXPECT_EQ(Run({"guard", "View.h", "bad name"}).code, 2);
}

TEST_F(ProjectCommandsTest, RenameInPlaceRenamesEveryLevelOnceWhenNewHoldsTheWord) {
    WriteFile("D/Widget.txt", "Widget");
    WriteFile("D/WidgetA.cpp", "x");
    WriteFile("D/WidgetsDir/Widget.txt", "a Widget");
    Result r = Run({"rename-in-place", "D", "Widget", "Widgets"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "rename-in-place: 4 of 4 names holding 'Widget' renamed in D\n");
    EXPECT_EQ(ReadFile("D/Widgets.txt"), "Widgets");
    EXPECT_TRUE(Exists("D/WidgetsA.cpp"));
    EXPECT_EQ(ReadFile("D/WidgetssDir/Widgets.txt"), "a Widgets");

    // Every WORD present before is replaced once: what a replacement forms is left.
    WriteFile("E/abb/abb.txt", "abb");
    Result once = Run({"rename-in-place", "E", "ab", "a"});
    EXPECT_EQ(once.code, 0) << once.err;
    EXPECT_EQ(once.out, "rename-in-place: 2 of 2 names holding 'ab' renamed in E\n");
    EXPECT_EQ(ReadFile("E/ab/ab.txt"), "ab");
}

TEST_F(ProjectCommandsTest, NewProjectRefusesANameThatCannotStandInTheTemplatesIdentifiers) {
    for (const char* name : {"My-App", "2App", "a b"}) {
        SCOPED_TRACE(name);
        Result r = Run({"new-project", name});
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err.rfind("cbasis new-project: " + std::string(name) + ": ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("--any-name"), std::string::npos) << r.err;
        EXPECT_FALSE(Exists(name));
    }
    WriteFile("tmpl/Foo/Foo.txt", "Foo");
    Result any = Run({"new-project", "My-App", "--template-root", "tmpl", "--keyword", "Foo", "--any-name"});
    EXPECT_EQ(any.code, 0) << any.err;
    EXPECT_EQ(ReadFile("My-App/My-App.txt"), "My-App");
}

TEST_F(ProjectCommandsTest, SummariesCountInTheSingularAndNamePathsAsTyped) {
    WriteFile("tmpl/Foo/Foo.h", "#if !defined(AFX_FOO_H__00000000_0000_0000_0000_000000000000__INCLUDED_)\n");
    Result made = Run({"new-project", "Bar", "--template-root", "tmpl", "--keyword", "Foo", "--location", "out"});
    EXPECT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(made.out.rfind("new-project: made Bar in out/Bar from tmpl/Foo: 1 file in 0 directories, 1 header guard "
                             "renewed (",
                             0),
              0u)
        << made.out;

    Result copied = Run({"copy-tree", "out/Bar", "copy"});
    EXPECT_EQ(copied.code, 0) << copied.err;
    EXPECT_EQ(copied.out, "copy-tree: out/Bar copied into copy (1 file there now, 0 before)\n");
    Result deleted = Run({"delete-tree", "copy", "--yes"});
    EXPECT_EQ(deleted.out, "delete-tree: deleted copy (1 entry)\n");
    Result renamed = Run({"rename-in-place", "out", "Bar", "Baz"});
    EXPECT_EQ(renamed.out, "rename-in-place: 2 of 2 names holding 'Bar' renamed in out\n");
    Result one = Run({"rename-in-place", "out", "Baz.h", "Qux.h"});
    EXPECT_EQ(one.out, "rename-in-place: 1 of 1 name holding 'Baz.h' renamed in out\n");
}

}  // namespace
