// The Help menu's documents: their paths, Notepad and the messages.
#include "settings/documents.h"

#include "session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillop {
namespace {

using platform::BoxKind;
using platform::sim::ShownBox;
using platform::sim::WinExecCall;
using platform::sim::World;
using testing::Session;

const std::string kCatalogMissing =
    "Zorbel's Shareware Catalog is not in the same directory as Quillop v1.0f.  The required "
    "file 'catalog.txt' was included in the distribution ZIP file.  Please unzip this file and "
    "try again.";
const std::string kNoNotepad = "Windows Notepad could not be found.";

TEST(ReadmePath, FromTheExecutablesNameUpToItsFirstDot) {
    struct Case {
        const char* exe;
        const char* readme;
    };
    const std::vector<Case> cases{
        {"C:\\Tools\\Quillop.exe", "C:\\Tools\\Quillop.txt"},
        {"C:\\Tools\\My.Tool.exe", "C:\\Tools\\My.txt"},
        {"C:\\Tools\\NoDot", "C:\\Tools\\NoDot.txt"},
        {"C:\\My Tools\\Quillop v2.exe", "C:\\My Tools\\Quillop v2.txt"},
        {"C:\\Dotted.Dir\\Quillop.exe", "C:\\Dotted.Dir\\Quillop.txt"},
        {"D:Quillop.exe", "D:Quillop.txt"},
        {"C:\\Tools\\.hidden.exe", "C:\\Tools\\.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings::Readme_File_Path(c.exe), c.readme) << c.exe;
    }
    EXPECT_EQ(settings::Catalog_File_Path("C:\\Tools\\My.Tool.exe"), "C:\\Tools\\catalog.txt");
}

class DocumentsTest : public ::testing::Test {
protected:
    void Start() { session_.Start(); }
    World world_;
    Session session_{world_};
};

TEST_F(DocumentsTest, ViewReadmeStartsNotepadOnTheReadmeEvenWhenItIsMissing) {
    world_.SetModulePath("C:\\My Tools\\My.Tool.exe");
    Start();
    session_.form.View_Readme_file_Option.Click();
    session_.form.SpareMenu.Click(); // the spare item does what View Readme file does
    const WinExecCall call{"Notepad.exe C:\\My Tools\\My.txt", 1};
    EXPECT_EQ(world_.shell.Started(), (std::vector<WinExecCall>{call, call}));
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(DocumentsTest, ALongPathIsNeverCut) {
    const std::string dir = "C:\\" + std::string(150, 'x') + "\\";
    world_.SetModulePath(dir + "Quillop.exe");
    Start();
    session_.form.View_Readme_file_Option.Click();
    ASSERT_EQ(world_.shell.Started().size(), 1u);
    EXPECT_EQ(world_.shell.Started()[0].command_line, "Notepad.exe " + dir + "Quillop.txt");
}

TEST_F(DocumentsTest, CatalogPresentOpensInNotepad) {
    world_.files.AddFile("C:\\Program Files\\Quillop\\catalog.txt", "list");
    Start();
    session_.form.View_Shareware_Catalog_Option.Click();
    EXPECT_EQ(
        world_.shell.Started(),
        (std::vector<WinExecCall>{{"Notepad.exe C:\\Program Files\\Quillop\\catalog.txt", 1}}));
    EXPECT_TRUE(world_.boxes.Shown().empty());
}

TEST_F(DocumentsTest, Messages) {
    struct Case {
        const char* name;
        bool catalog;
        bool notepad;
        bool readme; // View Readme file, else View Shareware Catalog
        std::vector<ShownBox> boxes;
    };
    const std::vector<Case> cases{
        {"catalog missing",
         false,
         true,
         false,
         {{BoxKind::Information, kCatalogMissing, "Information"}}},
        {"catalog present, Notepad missing",
         true,
         false,
         false,
         {{BoxKind::Information, kNoNotepad, "Information"}}},
        {"both missing: only the catalog message",
         false,
         false,
         false,
         {{BoxKind::Information, kCatalogMissing, "Information"}}},
        {"readme with Notepad missing",
         false,
         false,
         true,
         {{BoxKind::Information, kNoNotepad, "Information"}}},
    };
    for (const Case& c : cases) {
        World world;
        if (c.catalog) {
            world.files.AddFile("C:\\Program Files\\Quillop\\catalog.txt", "list");
        }
        if (!c.notepad) {
            world.files.Remove("C:\\windows\\notepad.exe");
        }
        Session s(world);
        s.Start();
        if (c.readme) {
            s.form.View_Readme_file_Option.Click();
        } else {
            s.form.View_Shareware_Catalog_Option.Click();
        }
        EXPECT_EQ(world.boxes.Shown(), c.boxes) << c.name;
        EXPECT_TRUE(world.shell.Started().empty()) << c.name;
    }
}

TEST_F(DocumentsTest, NotepadIsLookedForInTheWindowsDirectory) {
    world_.files.Remove("C:\\windows\\notepad.exe");
    world_.files.AddFile("D:\\WINNT\\NOTEPAD.EXE", "MZ");
    world_.shell.SetWindowsDirectory("D:\\WINNT");
    Start();
    session_.form.View_Readme_file_Option.Click();
    EXPECT_EQ(
        world_.shell.Started(),
        (std::vector<WinExecCall>{{"Notepad.exe C:\\Program Files\\Quillop\\Quillop.txt", 1}}));
    // A directory of that name doesn't count.
    world_.files.Remove("D:\\WINNT\\NOTEPAD.EXE");
    world_.files.AddDirectory("D:\\WINNT\\Notepad.EXE");
    world_.shell.Clear();
    session_.form.View_Readme_file_Option.Click();
    EXPECT_TRUE(world_.shell.Started().empty());
    EXPECT_EQ(world_.boxes.Shown(),
              (std::vector<ShownBox>{{BoxKind::Information, kNoNotepad, "Information"}}));
}

} // namespace
} // namespace quillop
