// Pages and controls that libraries above the shell register: the main
// window opens a registered page for its command, the control factory
// builds a registered type, and a later row replaces an earlier one.
#include "vistrel/shell/pagemakers.h"

#include <gtest/gtest.h>

#include "shell_fixture.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/text/zvlabel.h"

namespace {

class MadePage : public CZVWindow {
public:
    MadePage(CZVWindow* parent, int command, CZVRect rect) : CZVWindow(parent, rect, 0), command(command) {}
    int command;
};

class OtherPage : public MadePage {
    using MadePage::MadePage;
};

CZVWindow* MakePage(CZVWindow* parent, int command, CZVRect rect) { return new MadePage(parent, command, rect); }
CZVWindow* MakeOther(CZVWindow* parent, int command, CZVRect rect) { return new OtherPage(parent, command, rect); }
CZVWindow* MakeLabel(CPageControlArgs& args) { return new CZVLabel(args.parent, args.rect, args.desc.text, 5); }
CZVWindow* MakeNothing(CPageControlArgs&) { return nullptr; }

class PageMakers : public vistreltest::ShellTest {};

TEST_F(PageMakers, TheMainWindowOpensTheRegisteredPageOfACommand) {
    const CPageMakerRow first[] = {{kCommandDvr, MakePage}};
    RegisterPageMakers(first);
    window->DoCommand(kCommandDvr, 1);
    auto* page = dynamic_cast<MadePage*>(window->GetCurrentPage());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->command, kCommandDvr);
    EXPECT_EQ(page->GetParent(), window.get());

    const CPageMakerRow replaced[] = {{kCommandDvr, MakeOther}};
    RegisterPageMakers(replaced);
    EXPECT_EQ(FindPageMaker(kCommandDvr), MakeOther);
    EXPECT_EQ(FindPageMaker(kCommandDvr - 1000), nullptr);
}

TEST_F(PageMakers, TheControlFactoryBuildsARegisteredTypeWithItsSteps) {
    const CControlMakerRow rows[] = {{190, MakeLabel, kSkipCommon}, {189, MakeNothing, 0}};
    RegisterControlMakers(rows);
    CZVWindow page(window.get(), CZVRect(0, 0, 200, 100), 0);
    CPageControlDesc desc;
    desc.type = 190;
    desc.text = "Made";
    std::unique_ptr<CZVWindow> made(CreatePageControl(&page, &page, CZVRect(0, 0, 50, 20), desc, nullptr, 0));
    ASSERT_NE(dynamic_cast<CZVLabel*>(made.get()), nullptr);
    desc.type = 189;
    EXPECT_EQ(CreatePageControl(&page, &page, CZVRect(0, 0, 50, 20), desc, nullptr, 0), nullptr);
    ASSERT_NE(FindControlMaker(190), nullptr);
    EXPECT_EQ(FindControlMaker(190)->steps, kSkipCommon);
}

}  // namespace
