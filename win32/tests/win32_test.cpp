// The real window, driven by window messages under Wine.

#include <win32/form1.h>
#include <win32/text.h>

#include <window/about.h>

#include <gtest/gtest.h>

#include <string>

namespace velmora::win32 {
namespace {

class Form1Test : public testing::Test {
protected:
    Form1 form{GetModuleHandleW(nullptr), DeckPictures::builtIn()};

    HWND window() const { return form.handle(); }
    void mouse(UINT message, int x, int y, WPARAM keys = 0)
    {
        SendMessageW(window(), message, keys, MAKELPARAM(x, y));
    }
    void click(int x, int y)
    {
        mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        mouse(WM_LBUTTONUP, x, y);
    }
    // The menu item's command, as choosing it sends it.
    void choose(int menu)
    {
        const UINT id = GetMenuItemID(GetSubMenu(GetMenu(window()), menu), 0);
        SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    bool played(Rank rank, Suit suit) const
    {
        return form.board().cell({rank, suit}).state() == CellState::Played;
    }
};

std::wstring menuText(HMENU menu, int position)
{
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

TEST_F(Form1Test, FixedFrameWithCaptionIconAndTheDecksClientArea)
{
    wchar_t caption[32] = {};
    GetWindowTextW(window(), caption, 32);
    EXPECT_EQ(std::wstring(caption), L"Velmora");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window(), GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              DWORD{WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX});
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_NE(GetClassLongPtrW(window(), GCLP_HICON), 0u);
    EXPECT_NE(GetClassLongPtrW(window(), GCLP_HICONSM), 0u);
    RECT client;
    ASSERT_TRUE(GetClientRect(window(), &client));
    EXPECT_EQ(client.right, kClientWidth * form.scale());
    EXPECT_EQ(client.bottom, kClientHeight * form.scale());
}

TEST_F(Form1Test, TwoMenusOfOneItemEachWithAccessKeys)
{
    HMENU bar = GetMenu(window());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(menuText(bar, 0), L"&File");
    EXPECT_EQ(menuText(bar, 1), L"&Help");
    ASSERT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 1);
    EXPECT_EQ(menuText(GetSubMenu(bar, 0), 0), L"&Reset");
    ASSERT_EQ(GetMenuItemCount(GetSubMenu(bar, 1)), 1);
    EXPECT_EQ(menuText(GetSubMenu(bar, 1), 0), L"&About...");
}

TEST_F(Form1Test, APressAndReleaseOverOneCardPlaysItAndResetBringsItBack)
{
    ASSERT_EQ(form.scale(), 1);
    click(29, 49); // the Ace of Clubs' last pixel
    click(30, 0);  // the gap beside it
    EXPECT_TRUE(played(Rank::Ace, Suit::Clubs));
    EXPECT_FALSE(played(Rank::Two, Suit::Clubs));

    mouse(WM_RBUTTONDOWN, 40, 10, MK_RBUTTON); // released over the next card: nothing
    mouse(WM_RBUTTONUP, 70, 10);
    mouse(WM_LBUTTONDOWN, 40, 10, MK_LBUTTON); // released outside the window: nothing
    mouse(WM_LBUTTONUP, -1, 10);
    mouse(WM_MBUTTONDOWN, 40, 10, MK_MBUTTON); // the middle button plays nothing
    mouse(WM_MBUTTONUP, 40, 10);
    EXPECT_FALSE(played(Rank::Two, Suit::Clubs));
    mouse(WM_RBUTTONDOWN, 40, 10, MK_RBUTTON);
    mouse(WM_RBUTTONUP, 45, 40);
    EXPECT_TRUE(played(Rank::Two, Suit::Clubs));

    choose(0); // File > Reset
    EXPECT_EQ(form.board(), Board());
}

// Only what changed is drawn again: the clicked cell, or the grid after Reset.
TEST_F(Form1Test, AClickRepaintsOnlyItsCell)
{
    ShowWindow(window(), SW_SHOWNOACTIVATE);
    UpdateWindow(window());
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(window(), &pending, FALSE));
    click(230, 120);
    ASSERT_TRUE(GetUpdateRect(window(), &pending, FALSE));
    const PixelRect cell = cellRect({Rank::Eight, Suit::Hearts});
    EXPECT_EQ(pending.left, cell.left);
    EXPECT_EQ(pending.top, cell.top);
    EXPECT_EQ(pending.right, cell.right());
    EXPECT_EQ(pending.bottom, cell.bottom());
    UpdateWindow(window());
    click(230, 120); // now the marker: nothing to draw
    EXPECT_FALSE(GetUpdateRect(window(), &pending, FALSE));
    choose(0);
    ASSERT_TRUE(GetUpdateRect(window(), &pending, FALSE));
    EXPECT_EQ(pending.right, kGridWidth);
    EXPECT_EQ(pending.bottom, kGridHeight);
}

// What the About box showed, read while it was open.
struct AboutBox {
    std::wstring title;
    std::wstring text;
    bool hasOk = false;
    bool hasCancel = true;
    bool ownerEnabled = true;
};
AboutBox seen;
HWND owner = nullptr;

BOOL CALLBACK findMessageBox(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770")
        return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

// Runs inside the box's own event loop: reads the box, then presses OK.
void CALLBACK inspectMessageBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findMessageBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr)
        return;
    KillTimer(nullptr, timer);
    wchar_t text[256] = {};
    GetWindowTextW(box, text, 256);
    seen.title = text;
    GetDlgItemTextW(box, 0xFFFF, text, 256); // the message box's text control
    seen.text = text;
    seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
    seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(box, IDCANCEL));
    seen.ownerEnabled = IsWindowEnabled(owner);
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

TEST_F(Form1Test, AboutShowsTheThreeCreditLinesInAModalBoxWithOnlyOk)
{
    click(5, 5);
    owner = window();
    SetTimer(nullptr, 0, 50, inspectMessageBox);
    choose(1); // Help > About..., which returns once the box is dismissed
    EXPECT_EQ(seen.title, L"Velmora");
    EXPECT_EQ(seen.text, toWide(withLineBreaks(aboutText(), "\r\n")));
    EXPECT_TRUE(seen.hasOk);
    EXPECT_FALSE(seen.hasCancel);
    EXPECT_FALSE(seen.ownerEnabled) << "the window takes no input while the box is open";
    EXPECT_TRUE(IsWindowEnabled(window()));
    EXPECT_TRUE(played(Rank::Ace, Suit::Clubs));
}

} // namespace
} // namespace velmora::win32
