#include "boardaccessible.h"

#include "mainwindow.h"
#include "text.h"

#include <window/accessiblenames.h>
#include <window/failure.h>

#include <optional>

namespace velmora::win32 {

namespace {

constexpr wchar_t kPressAction[] = L"Press";

// Runs one call from a client as one of the window's handlers: any error is
// fatal, as in every handler of the program.
template <class Call> HRESULT answer(MainWindow *window, Call &&call)
{
    if (window == nullptr)
        return CO_E_OBJNOTCONNECTED; // the window has gone
    HRESULT result = E_FAIL;
    window->form().runHandler([&] { result = call(); });
    return result;
}

// Runs a call about one child id: the deck itself (CHILDID_SELF), passed as no
// card, or one of its cards. Any other id is the client's mistake, answered with
// E_INVALIDARG.
template <class Call> HRESULT answerAbout(MainWindow *window, const VARIANT &child, Call &&call)
{
    return answer(window, [&] {
        if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > kCardCount)
            return E_INVALIDARG;
        return call(child.lVal == CHILDID_SELF ? std::nullopt : std::optional<Card>(cardAt(child.lVal - 1)));
    });
}

HRESULT putString(BSTR *out, const std::wstring &text)
{
    *out = SysAllocString(text.c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT noString(BSTR *out)
{
    *out = nullptr;
    return S_FALSE;
}

void putChild(VARIANT *out, LONG id)
{
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = id;
}

} // namespace

BoardAccessible::BoardAccessible(MainWindow *window) : window_(window) {}

HRESULT BoardAccessible::QueryInterface(REFIID riid, void **object)
{
    if (object == nullptr)
        return E_POINTER;
    // The interface ids come from the headers: MinGW's liboleacc.a holds a wrong IID_IAccessible.
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG BoardAccessible::AddRef()
{
    return ++references_;
}

ULONG BoardAccessible::Release()
{
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT BoardAccessible::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT BoardAccessible::GetTypeInfo(UINT, LCID, ITypeInfo **)
{
    return E_NOTIMPL;
}
HRESULT BoardAccessible::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}
HRESULT BoardAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *)
{
    return E_NOTIMPL;
}

HRESULT BoardAccessible::get_accParent(IDispatch **parent)
{
    return answer(window_, [&] {
        return CreateStdAccessibleObject(window_->handle(), OBJID_WINDOW, __uuidof(IDispatch),
                                         reinterpret_cast<void **>(parent));
    });
}

HRESULT BoardAccessible::get_accChildCount(LONG *count)
{
    return answer(window_, [&] {
        *count = kCardCount;
        return S_OK;
    });
}

HRESULT BoardAccessible::get_accChild(VARIANT child, IDispatch **dispatch)
{
    return answerAbout(window_, child, [&](std::optional<Card>) {
        *dispatch = nullptr; // the cards are simple elements of the deck
        return S_FALSE;
    });
}

HRESULT BoardAccessible::get_accName(VARIANT child, BSTR *name)
{
    return answerAbout(window_, child, [&](std::optional<Card> card) {
        return putString(name, toWide(card ? cardName(*card) : std::string(kDeckAccessibleName)));
    });
}

HRESULT BoardAccessible::get_accValue(VARIANT child, BSTR *value)
{
    return answerAbout(window_, child, [&](std::optional<Card>) { return noString(value); });
}

HRESULT BoardAccessible::get_accDescription(VARIANT child, BSTR *description)
{
    return answerAbout(window_, child, [&](std::optional<Card> card) {
        if (!card) {
            const std::string_view deck = deckDescription(window_->board());
            return deck.empty() ? noString(description) : putString(description, toWide(deck));
        }
        return putString(description, toWide(cardStateDescription(window_->board().cell(*card).state())));
    });
}

HRESULT BoardAccessible::get_accRole(VARIANT child, VARIANT *role)
{
    return answerAbout(window_, child, [&](std::optional<Card> card) {
        putChild(role, card ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_CLIENT);
        return S_OK;
    });
}

HRESULT BoardAccessible::get_accState(VARIANT child, VARIANT *state)
{
    return answerAbout(window_, child, [&](std::optional<Card> card) {
        LONG flags = 0;
        // A played card is covered: it is checked and can no longer be pressed.
        if (card && window_->board().cell(*card).state() == CellState::Played)
            flags = STATE_SYSTEM_CHECKED | STATE_SYSTEM_UNAVAILABLE;
        putChild(state, flags);
        return S_OK;
    });
}

HRESULT BoardAccessible::get_accHelp(VARIANT child, BSTR *help)
{
    return answerAbout(window_, child, [&](std::optional<Card>) { return noString(help); });
}

HRESULT BoardAccessible::get_accHelpTopic(BSTR *helpFile, VARIANT child, LONG *topic)
{
    return answerAbout(window_, child, [&](std::optional<Card>) {
        *topic = -1;
        return noString(helpFile);
    });
}

HRESULT BoardAccessible::get_accKeyboardShortcut(VARIANT child, BSTR *shortcut)
{
    return answerAbout(window_, child, [&](std::optional<Card>) {
        return noString(shortcut); // cards take no keys
    });
}

HRESULT BoardAccessible::get_accFocus(VARIANT *child)
{
    VariantInit(child); // cards take no keyboard focus
    return S_FALSE;
}

HRESULT BoardAccessible::get_accSelection(VARIANT *children)
{
    VariantInit(children);
    return S_FALSE;
}

HRESULT BoardAccessible::get_accDefaultAction(VARIANT child, BSTR *action)
{
    return answerAbout(window_, child, [&](std::optional<Card> card) {
        if (!card || window_->board().cell(*card).state() == CellState::Played)
            return noString(action);
        return putString(action, kPressAction);
    });
}

HRESULT BoardAccessible::accSelect(long, VARIANT)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT BoardAccessible::accLocation(LONG *left, LONG *top, LONG *width, LONG *height, VARIANT child)
{
    return answerAbout(window_, child, [&](std::optional<Card> card) {
        const PixelRect r = card ? cellRect(*card) : PixelRect{0, 0, kClientWidth, kClientHeight};
        POINT origin = {r.left * window_->scale(), r.top * window_->scale()};
        if (!ClientToScreen(window_->handle(), &origin))
            throw FatalError("the deck's place on the screen cannot be read");
        *left = origin.x;
        *top = origin.y;
        *width = r.width * window_->scale();
        *height = r.height * window_->scale();
        return S_OK;
    });
}

HRESULT BoardAccessible::accNavigate(LONG direction, VARIANT start, VARIANT *end)
{
    return answerAbout(window_, start, [&](std::optional<Card> card) {
        VariantInit(end);
        LONG next = 0;
        if (!card && direction == NAVDIR_FIRSTCHILD)
            next = 1;
        else if (!card && direction == NAVDIR_LASTCHILD)
            next = kCardCount;
        else if (card && direction == NAVDIR_NEXT)
            next = childId(*card) + 1;
        else if (card && direction == NAVDIR_PREVIOUS)
            next = childId(*card) - 1;
        if (next < 1 || next > kCardCount)
            return S_FALSE;
        putChild(end, next);
        return S_OK;
    });
}

HRESULT BoardAccessible::accHitTest(LONG left, LONG top, VARIANT *child)
{
    return answer(window_, [&] {
        VariantInit(child);
        POINT p = {left, top};
        RECT client;
        if (!ScreenToClient(window_->handle(), &p) || !GetClientRect(window_->handle(), &client))
            throw FatalError("the deck's place on the screen cannot be read");
        if (!PtInRect(&client, p))
            return S_FALSE;
        const double scale = window_->scale();
        if (const std::optional<Card> card = cardUnder({p.x / scale, p.y / scale})) {
            putChild(child, childId(*card));
            return S_OK;
        }
        putChild(child, CHILDID_SELF);
        return S_OK;
    });
}

HRESULT BoardAccessible::accDoDefaultAction(VARIANT child)
{
    return answerAbout(window_, child, [&](std::optional<Card> card) {
        if (!card || window_->board().cell(*card).state() == CellState::Played)
            return DISP_E_MEMBERNOTFOUND;
        window_->form().activateCard(*card);
        return S_OK;
    });
}

HRESULT BoardAccessible::put_accName(VARIANT, BSTR)
{
    return DISP_E_MEMBERNOTFOUND;
}
HRESULT BoardAccessible::put_accValue(VARIANT, BSTR)
{
    return DISP_E_MEMBERNOTFOUND;
}

} // namespace velmora::win32
