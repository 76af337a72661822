// The real window, driven by window messages under Wine.

#include <win32/mainwindow.h>
#include "clientcalls.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace velmora::win32 {
namespace {

using test::childId;
using test::take;

class MainWindowTest : public testing::Test {
protected:
    MainWindow form{GetModuleHandleW(nullptr)};

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

TEST_F(MainWindowTest, FixedFrameWithCaptionIconAndTheDecksClientArea)
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

TEST_F(MainWindowTest, TwoMenusOfOneItemEachWithAccessKeys)
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

// Only what changed is drawn again: the clicked cell, or the grid after Reset.
TEST_F(MainWindowTest, AClickRepaintsOnlyItsCell)
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

TEST_F(MainWindowTest, AboutShowsTheThreeCreditLinesInAModalBoxWithOnlyOk)
{
    click(5, 5);
    owner = window();
    SetTimer(nullptr, 0, 50, inspectMessageBox);
    choose(1); // Help > About..., which returns once the box is dismissed
    EXPECT_EQ(seen.title, L"Velmora");
    EXPECT_EQ(seen.text, L"Created by Velmora contributors\r\nvelmora@example.org\r\nhttps://velmora.example.org");
    EXPECT_TRUE(seen.hasOk);
    EXPECT_FALSE(seen.hasCancel);
    EXPECT_FALSE(seen.ownerEnabled) << "the window takes no input while the box is open";
    EXPECT_TRUE(IsWindowEnabled(window()));
    EXPECT_TRUE(played(Rank::Ace, Suit::Clubs));
}

// The window system took the mouse away mid-press: the release plays nothing.
TEST_F(MainWindowTest, LosingTheMouseDuringAPressCancelsTheClick)
{
    mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), window());
    ReleaseCapture();
    mouse(WM_LBUTTONUP, 5, 5);
    mouse(WM_RBUTTONDOWN, 5, 5, MK_RBUTTON);
    SendMessageW(window(), WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(GetDesktopWindow()));
    mouse(WM_RBUTTONUP, 5, 5);
    EXPECT_EQ(form.board(), Board());
    click(5, 5);
    EXPECT_TRUE(played(Rank::Ace, Suit::Clubs));
}

// Moved to a 192 dpi screen, the window draws every picture pixel as 2 x 2
// device pixels and clicks land on the card drawn under them.
TEST_F(MainWindowTest, ADpiChangeScalesTheClientAreaAndTheClicks)
{
    RECT placed;
    ASSERT_TRUE(GetWindowRect(window(), &placed));
    SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&placed));
    ASSERT_EQ(form.scale(), 2);
    RECT client;
    ASSERT_TRUE(GetClientRect(window(), &client));
    EXPECT_EQ(client.right, 2 * kClientWidth);
    EXPECT_EQ(client.bottom, 2 * kClientHeight);
    click(59, 99); // the Ace of Clubs' last device pixel
    click(60, 0);  // the gap beside it
    EXPECT_TRUE(played(Rank::Ace, Suit::Clubs));
    EXPECT_FALSE(played(Rank::Two, Suit::Clubs));

    SendMessageW(window(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&placed));
    EXPECT_EQ(form.scale(), 1);
}

class AccessibilityTest : public MainWindowTest {
protected:
    AccessibilityTest()
    {
        EXPECT_EQ(AccessibleObjectFromWindow(window(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void **>(deck.GetAddressOf())),
                  S_OK);
    }

    // The child id that the point of the client area finds.
    VARIANT hitTest(int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(window(), &p);
        VARIANT found;
        VariantInit(&found);
        last = deck->accHitTest(p.x, p.y, &found);
        return found;
    }

    Microsoft::WRL::ComPtr<IAccessible> deck;
    HRESULT last = S_OK;
};

constexpr LONG kEightOfHeartsId = 2 * kRankCount + 7 + 1;

TEST_F(AccessibilityTest, DescriptionParentAndBadChildIds)
{
    ASSERT_TRUE(deck);
    BSTR text = nullptr;
    ASSERT_EQ(deck->get_accDescription(childId(CHILDID_SELF), &text), S_OK);
    EXPECT_EQ(take(text), L"No card played");
    ASSERT_EQ(deck->get_accDescription(childId(kEightOfHeartsId), &text), S_OK);
    EXPECT_EQ(take(text), L"Not played yet");
    click(230, 120);
    ASSERT_EQ(deck->get_accDescription(childId(kEightOfHeartsId), &text), S_OK);
    EXPECT_EQ(take(text), L"Played");
    EXPECT_EQ(deck->get_accDescription(childId(CHILDID_SELF), &text), S_FALSE);

    Microsoft::WRL::ComPtr<IDispatch> parent;
    EXPECT_EQ(deck->get_accParent(parent.GetAddressOf()), S_OK);
    EXPECT_TRUE(parent);

    for (LONG bad : {-1L, 53L}) {
        EXPECT_EQ(deck->get_accName(childId(bad), &text), E_INVALIDARG) << bad;
        EXPECT_EQ(deck->accDoDefaultAction(childId(bad)), E_INVALIDARG) << bad;
    }
    VARIANT notAnId;
    VariantInit(&notAnId);
    EXPECT_EQ(deck->get_accName(notAnId, &text), E_INVALIDARG);
}

TEST_F(AccessibilityTest, NavigationAndHitTestsFollowTheDeck)
{
    ASSERT_TRUE(deck);
    const std::pair<LONG, LONG> moves[] = {{NAVDIR_FIRSTCHILD, CHILDID_SELF}, {NAVDIR_LASTCHILD, CHILDID_SELF},
                                           {NAVDIR_NEXT, 1}, {NAVDIR_PREVIOUS, 2}};
    const LONG expected[] = {1, kCardCount, 2, 1};
    for (std::size_t i = 0; i < std::size(moves); ++i) {
        VARIANT end;
        EXPECT_EQ(deck->accNavigate(moves[i].first, childId(moves[i].second), &end), S_OK);
        EXPECT_EQ(end.lVal, expected[i]) << "move " << i;
    }
    VARIANT end;
    EXPECT_EQ(deck->accNavigate(NAVDIR_NEXT, childId(kCardCount), &end), S_FALSE);
    EXPECT_EQ(deck->accNavigate(NAVDIR_PREVIOUS, childId(1), &end), S_FALSE);

    EXPECT_EQ(hitTest(230, 120).lVal, kEightOfHeartsId);
    EXPECT_EQ(last, S_OK);
    EXPECT_EQ(hitTest(413, 217).lVal, kCardCount);
    EXPECT_EQ(hitTest(30, 10).lVal, CHILDID_SELF) << "a gap is the deck itself";
    EXPECT_EQ(last, S_OK);
    hitTest(-5, 10);
    EXPECT_EQ(last, S_FALSE) << "outside the client area";
}

// The accessibility client of the tests, from the folder of this program, run
// with its output read through a pipe while this thread keeps serving the window.
class ListeningClient {
public:
    ListeningClient()
    {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring command = path;
        command = L"\"" + command.substr(0, command.find_last_of(L"\\/") + 1) +
                  L"accessibilityclient.exe\" --events 8";
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        EXPECT_TRUE(CreatePipe(&read_, &write, &inherit, 0));
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                   &process_));
        CloseHandle(write);
    }
    ~ListeningClient()
    {
        if (WaitForSingleObject(process_.hProcess, 10'000) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        CloseHandle(read_);
    }
    ListeningClient(const ListeningClient &) = delete;
    ListeningClient &operator=(const ListeningClient &) = delete;

    // Serves the window until the client has printed `lines` lines, or a minute has passed.
    std::string waitForLines(int lines)
    {
        const ULONGLONG deadline = GetTickCount64() + 60'000;
        while (std::count(output_.begin(), output_.end(), '\n') < lines && GetTickCount64() < deadline) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            DWORD waiting = 0;
            char buffer[256];
            DWORD got = 0;
            if (PeekNamedPipe(read_, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
                ReadFile(read_, buffer, sizeof buffer, &got, nullptr))
                std::copy_if(buffer, buffer + got, std::back_inserter(output_), [](char c) { return c != '\r'; });
            else
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return output_;
    }

private:
    HANDLE read_ = nullptr;
    PROCESS_INFORMATION process_{};
    std::string output_;
};

// A screen reader in another process hears each change as it happens, wherever
// it was: it is sent to the played card, and after Reset to the deck, once every
// card that changed back has said so.
TEST_F(MainWindowTest, AnAccessibilityClientHearsEveryStateChangeAndIsSentToIt)
{
    ShowWindow(window(), SW_SHOWNOACTIVATE);
    ListeningClient client;
    ASSERT_EQ(client.waitForLines(1), "ready\n");
    // Wine tells a thread of new hooks when it next takes a message from its queue,
    // as the program's event loop does all the time.
    PostMessageW(window(), WM_NULL, 0, 0);
    MSG message;
    GetMessageW(&message, window(), WM_NULL, WM_NULL);
    click(230, 120);
    client.waitForLines(3);
    click(5, 5);
    click(5, 5); // a marker: no change, no event
    client.waitForLines(5);
    choose(0);
    EXPECT_EQ(client.waitForLines(8), "ready\nstatechange 34\nfocus 34\nstatechange 1\nfocus 1\n"
                                      "statechange 1\nstatechange 34\nfocus 0\n");
}

} // namespace
} // namespace velmora::win32
