// The About box on the sim, the way the program runs it: the main window shows, Help > About
// shows the box modally, its timers run on the virtual clock, OK, Enter or Escape close it.
#include "about/About_p.h"
#include "app/Quillop.h"
#include "backends/sim/peers.h"
#include "backends/sim/world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace quillop {
namespace {

using platform::sim::ShellExecuteCall;

constexpr std::uint64_t kGiB = 1ull << 30;

std::vector<std::uint8_t> StoredLogo() {
    std::ifstream in(std::string(QUILLOP_ASSETS) + "/logo.dat", std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

const std::vector<std::string>& Quotes() {
    static const std::vector<std::string> quotes = {
        "I hope this program makes your work a little simpler, your play a little better, or "
        "your day a bit easier.",
        "If you have any comments, suggestions, improvements, or feedback, please email me.",
        "Useful software needn't take up Gigabytes of disk space, and my catalog of software "
        "proves this.",
        "Please support my efforts with a PayPal donation.",
    };
    return quotes;
}

bool IsQuote(const std::string& text) {
    return std::find(Quotes().begin(), Quotes().end(), text) != Quotes().end();
}

class AboutBoxTest : public ::testing::Test {
protected:
    AboutBoxTest() {
        SetMemory(4 * kGiB, 1 * kGiB, 4 * kGiB, 1 * kGiB); // 25 %
    }

    void Start() {
        main.SetAboutBox(about);
        main.Realise(peers);
        about.Realise(peers);
        app.Run(main);
    }
    void ShowAbout() { main.AboutOption.Click(); }

    void SetMemory(std::uint64_t total_phys, std::uint64_t avail_phys, std::uint64_t total_page,
                   std::uint64_t avail_page) {
        platform::MemoryStatusEx m;
        m.ullTotalPhys = total_phys;
        m.ullAvailPhys = avail_phys;
        m.ullTotalPageFile = total_page;
        m.ullAvailPageFile = avail_page;
        world.system.SetMemoryStatus(m);
    }

    std::vector<std::string> Opened() const {
        std::vector<std::string> files;
        for (const ShellExecuteCall& c : world.shell.Executed()) {
            EXPECT_EQ(c.owner, main.Handle());
            EXPECT_EQ(c.operation, "open");
            EXPECT_EQ(c.parameters, "");
            EXPECT_EQ(c.directory, "");
            EXPECT_EQ(c.show, 1);
            files.push_back(c.file);
        }
        return files;
    }

    platform::sim::World world;
    platform::sim::PeerFactory peers{world.desktop};
    // The program's resources exist before any form is made.
    bool resources = (peers.SetResourceData(kAboutLogoResource, StoredLogo()), true);
    ui::Application app{world.services, &peers};
    TMainForm1 main{app};
    TAboutBox about{app};
};

TEST_F(AboutBoxTest, CreatedHiddenWithEverythingOff) {
    Start();
    EXPECT_FALSE(about.Visible());
    EXPECT_FALSE(about.Quote_Change_Timer.Enabled());
    EXPECT_FALSE(about.Free_Resources_Timer.Enabled());
    EXPECT_FALSE(about.Quote_Change_Timer.Running());
    EXPECT_FALSE(about.Zorbel_Logo_GIFImage.Animate());
    EXPECT_FALSE(about.KeyPreview());
    EXPECT_EQ(about.Quote_Change_Timer.Interval(), 10000u);
    EXPECT_EQ(about.Free_Resources_Timer.Interval(), 500u);
    // The logo was read from its stored property at creation.
    EXPECT_EQ(about.Zorbel_Logo_GIFImage.FrameCount(), 8);
    EXPECT_EQ(about.Zorbel_Logo_GIFImage.LoopCount(), 999);
    EXPECT_TRUE(about.Zorbel_Logo_GIFImage.Stretch());
    // The identity texts are in, from the main window's first show.
    EXPECT_EQ(about.Caption(), "About Quillop v1.0f ...");
    EXPECT_EQ(about.Product_Name_Label.Caption(), "Quillop v1.0f");
}

TEST_F(AboutBoxTest, ActivationStartsEverythingAndMovesTheLinks) {
    Start();
    ShowAbout();
    ASSERT_TRUE(about.Visible());
    EXPECT_TRUE(about.Modal());
    EXPECT_FALSE(main.Enabled());
    EXPECT_EQ(world.desktop.ActiveWindow(), about.Handle());

    EXPECT_TRUE(about.Quote_Change_Timer.Running());
    EXPECT_TRUE(about.Free_Resources_Timer.Running());
    EXPECT_TRUE(about.Zorbel_Logo_GIFImage.Animate());
    EXPECT_TRUE(IsQuote(about.Quote_From_Zorbel_Label.Caption()))
        << about.Quote_From_Zorbel_Label.Caption();
    EXPECT_EQ(about.Free_Resources_Label.Caption(), "25%");

    EXPECT_EQ(about.Email_Button.Hint(), "Click to send an E-Mail to Zorbel.");
    EXPECT_EQ(about.WEB_Button.Hint(), "Click to visit Zorbel's WEB Page.");
    EXPECT_FALSE(about.Email_Button.Visible());
    EXPECT_FALSE(about.WEB_Button.Visible());
    EXPECT_EQ(about.Email_Address_Label.Hint(), "Click to send an E-Mail to Zorbel.");
    EXPECT_EQ(about.WEB_Address_Label.Hint(), "Click to visit Zorbel's WEB Page.");
    EXPECT_EQ(about.Email_Address_Label.GetBounds().left, 446);
    EXPECT_EQ(about.Email_Address_Label.Top(), 228);
    EXPECT_EQ(about.WEB_Address_Label.GetBounds().left, 447);
    EXPECT_EQ(about.WEB_Address_Label.Top(), 257);
    EXPECT_EQ(about.Email_Address_Label.Caption(), about.Email_Button.Caption());
    EXPECT_EQ(about.WEB_Address_Label.Caption(), about.WEB_Button.Caption());
    EXPECT_FALSE(about.Email_Address_Label.Caption().empty());

    const std::set<const ui::Control*> hand = {&about.Email_Address_Label,
                                               &about.WEB_Address_Label,
                                               &about.Australian_Made_Label,
                                               &about.Australian_Made_Logo,
                                               &about.Zorbel_Logo_GIFImage,
                                               &about.Zorbel_Logo_Banner_Image,
                                               &about.Bevel3,
                                               &about.Bevel1,
                                               &about.PayPal_Donations_Label,
                                               &about.PayPal_Image};
    for (const ui::Component* c : about.Components()) {
        if (const auto* control = dynamic_cast<const ui::Control*>(c)) {
            EXPECT_EQ(control->GetCursor() == ui::Cursor::HandPoint, hand.count(control) == 1)
                << control->Name();
            // Only the origin logo shows its hint.
            EXPECT_EQ(control->ShowHint(), control == &about.Australian_Made_Logo)
                << control->Name();
        }
    }

    // The frames lie behind everything else of their group box, Bevel1 lowest.
    const auto& z = about.GroupBox1.Children();
    ASSERT_GE(z.size(), 3u);
    EXPECT_EQ(z[0], &about.Bevel1);
    EXPECT_EQ(z[1], &about.Bevel3);
    EXPECT_EQ(std::find(z.begin(), z.end(), &about.Australian_Made_Logo) -
                  std::find(z.begin(), z.end(), &about.Australian_Made_Label),
              -1); // the caption over the logo
    EXPECT_TRUE(about.KeyPreview());
}

TEST_F(AboutBoxTest, TheQuoteChangesEveryTenSecondsAndTheReadoutEveryHalfSecond) {
    Start();
    ShowAbout();
    const std::uint64_t shown = world.system.Now();

    // The readout follows the memory counts at each tick of 500 ms, not in between.
    SetMemory(4 * kGiB, 2 * kGiB, 4 * kGiB, 2 * kGiB); // 50 %
    world.loop.RunFor(499);
    EXPECT_EQ(about.Free_Resources_Label.Caption(), "25%");
    world.loop.RunFor(1);
    EXPECT_EQ(about.Free_Resources_Label.Caption(), "50%");
    SetMemory(8 * kGiB, 8 * kGiB, 24 * kGiB, 24 * kGiB); // 100 %, counts past 4 GB
    world.loop.RunFor(500);
    EXPECT_EQ(about.Free_Resources_Label.Caption(), "100%");

    // The quote is written again at 10 s (emptied here to see the write, since the same
    // quote may come twice), not before.
    about.Quote_From_Zorbel_Label.SetCaption("");
    world.loop.RunFor(static_cast<std::uint32_t>(shown + 9999 - world.system.Now()));
    EXPECT_EQ(about.Quote_From_Zorbel_Label.Caption(), "");
    world.loop.RunFor(1);
    EXPECT_TRUE(IsQuote(about.Quote_From_Zorbel_Label.Caption()));
    about.Quote_From_Zorbel_Label.SetCaption("");
    world.loop.RunFor(10000);
    EXPECT_TRUE(IsQuote(about.Quote_From_Zorbel_Label.Caption()));
}

TEST_F(AboutBoxTest, EveryQuoteComesUpAndOnlyThese) {
    Start();
    ShowAbout();
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        about.Quote_Change_TimerTimer(about.Quote_Change_Timer);
        ASSERT_TRUE(IsQuote(about.Quote_From_Zorbel_Label.Caption()));
        seen.insert(about.Quote_From_Zorbel_Label.Caption());
    }
    EXPECT_EQ(seen.size(), 4u);
}

struct CloseCase {
    const char* how;
    void (*close)(TAboutBox&);
};

TEST_F(AboutBoxTest, OkEscapeAndEnterCloseItAndStopEverything) {
    const CloseCase cases[] = {
        {"OK", [](TAboutBox& a) { a.OKButton.Click(); }},
        {"Escape", [](TAboutBox& a) { EXPECT_EQ(a.KeyDown(27, 0), 27); }},
        // Enter reaches the default button; the window system clicks it.
        {"Enter",
         [](TAboutBox& a) {
             ASSERT_TRUE(a.OKButton.Default());
             a.OKButton.Click();
         }},
    };
    Start();
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.how);
        ShowAbout();
        ASSERT_TRUE(about.Visible());
        c.close(about);
        EXPECT_FALSE(about.Visible());
        EXPECT_FALSE(about.Modal());
        EXPECT_TRUE(main.Enabled());
        EXPECT_FALSE(about.Quote_Change_Timer.Enabled());
        EXPECT_FALSE(about.Free_Resources_Timer.Enabled());
        EXPECT_FALSE(about.Quote_Change_Timer.Running());
        EXPECT_FALSE(about.Free_Resources_Timer.Running());
        EXPECT_FALSE(about.Zorbel_Logo_GIFImage.Animate());
        const std::string quote = about.Quote_From_Zorbel_Label.Caption();
        about.Free_Resources_Label.SetCaption("");
        world.loop.RunFor(20000);
        EXPECT_EQ(about.Quote_From_Zorbel_Label.Caption(), quote);
        EXPECT_EQ(about.Free_Resources_Label.Caption(), "");
        EXPECT_FALSE(main.IsClosed());
    }
}

TEST_F(AboutBoxTest, OtherKeysPassOnUnchanged) {
    Start();
    ShowAbout();
    for (std::uint16_t key : {13, 9, 32, 65, 112}) {
        EXPECT_EQ(about.KeyDown(key, 0), key);
    }
    EXPECT_TRUE(about.Visible());
}

TEST_F(AboutBoxTest, ASecondShowingStartsAgainWithTheLabelsInTheSamePlaces) {
    Start();
    ShowAbout();
    const ui::Bounds email = about.Email_Address_Label.GetBounds();
    const ui::Bounds web = about.WEB_Address_Label.GetBounds();
    const std::vector<ui::Control*> z = about.GroupBox1.Children();
    about.OKButton.Click();

    SetMemory(4 * kGiB, 3 * kGiB, 4 * kGiB, 3 * kGiB); // 75 %
    ShowAbout();
    EXPECT_TRUE(about.Visible());
    EXPECT_TRUE(about.Quote_Change_Timer.Running());
    EXPECT_TRUE(about.Free_Resources_Timer.Running());
    EXPECT_TRUE(about.Zorbel_Logo_GIFImage.Animate());
    EXPECT_EQ(about.Free_Resources_Label.Caption(), "75%"); // at once, not after a tick
    EXPECT_EQ(about.Email_Address_Label.GetBounds(), email);
    EXPECT_EQ(about.WEB_Address_Label.GetBounds(), web);
    EXPECT_EQ(about.GroupBox1.Children(), z);
    about.Free_Resources_Label.SetCaption("");
    world.loop.RunFor(500);
    EXPECT_EQ(about.Free_Resources_Label.Caption(), "75%");
}

TEST_F(AboutBoxTest, ClosingRefreshesTheMainWindowsList) {
    Start();
    ShowAbout();
    const std::string before = main.Label1.Caption();
    world.desktop.AddWindow("Opened while the About box was up");
    about.OKButton.Click();
    EXPECT_EQ(world.desktop.ActiveWindow(), main.Handle());
    EXPECT_NE(main.Label1.Caption(), before);
    const auto& lines = main.Windows_ListBox.Items();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("Opened while the About box was up") != std::string::npos;
    }));
}

TEST_F(AboutBoxTest, TheMailLinkCarriesTheAddressAndTheExecutablesName) {
    Start();
    ShowAbout();
    about.Email_Address_Label.Click();
    about.Email_Button.Click();
    const std::string link =
        "mailto:" + about.Email_Button.Caption() + "?subject=Shareware: Quillop.exe";
    EXPECT_EQ(Opened(), (std::vector<std::string>{link, link}));
    EXPECT_EQ(link.rfind("mailto:", 0), 0u);
    EXPECT_GT(about.Email_Button.Caption().size(), 0u);

    // A renamed executable carries its new name; nothing is escaped.
    world.shell.Clear();
    world.system.SetModuleFileName("D:\\Tools & Co\\Win Pin 2.EXE");
    about.Email_Address_Label.Click();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"mailto:" + about.Email_Button.Caption() +
                                                  "?subject=Shareware: Win Pin 2.EXE"}));

    // Without an address the shell still gets a mail link, with the subject alone.
    world.shell.Clear();
    world.system.SetModuleFileName("C:Quillop.exe");
    about.Email_Button.SetCaption("");
    about.Email_Button.Click();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"mailto:?subject=Shareware: Quillop.exe"}));
}

TEST_F(AboutBoxTest, TheWebAndDonationLinksOpenFromEveryControlThatCarriesThem) {
    Start();
    ShowAbout();
    const std::string web = about.WEB_Button.Caption();
    const std::string donation = about.PayPal_WEB_Address_Label.Caption();
    ASSERT_FALSE(web.empty());
    ASSERT_FALSE(donation.empty());
    ASSERT_NE(web, donation);

    about.WEB_Address_Label.Click();
    about.WEB_Button.Click();
    about.Zorbel_Logo_GIFImage.Click();
    about.Zorbel_Logo_Banner_Image.Click();
    about.Australian_Made_Logo.Click();
    about.Australian_Made_Label.Click();
    about.PayPal_Donations_Label.Click();
    about.PayPal_Image.Click();
    EXPECT_EQ(Opened(),
              (std::vector<std::string>{web, web, web, web, web, web, donation, donation}));
    // None of them closes the box or changes what it shows.
    EXPECT_TRUE(about.Visible());
    EXPECT_EQ(about.WEB_Button.Caption(), web);
}

TEST_F(AboutBoxTest, AnEmptyAddressOpensNothing) {
    Start();
    ShowAbout();
    about.WEB_Button.SetCaption("");
    about.PayPal_WEB_Address_Label.SetCaption("");
    about.WEB_Address_Label.Click();
    about.Australian_Made_Logo.Click();
    about.PayPal_Donations_Label.Click();
    about.PayPal_Image.Click();
    EXPECT_TRUE(world.shell.Executed().empty());
}

} // namespace
} // namespace quillop
