#pragma once

#include <board/card.h>

#include <oleacc.h>
#include <windows.h>

#include <optional>

namespace velmora::win32 {

class MainWindow;

// The deck as screen readers and voice control see it through Microsoft Active
// Accessibility (and UI Automation, through its MSAA proxy): the client area with
// the 52 cards as check buttons named like "Queen of Hearts", checked once played,
// whose default action plays the card. The window owns one reference and cuts the
// object off from itself when it goes, while clients may still hold theirs.
class BoardAccessible : public IAccessible {
public:
    explicit BoardAccessible(MainWindow *window);
    void disconnect() { window_ = nullptr; }

    // The child id of a card: 1 to 52, in the board's order.
    static LONG childId(Card card) { return cardIndex(card) + 1; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: not offered; clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                     UINT *) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **dispatch) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *helpFile, VARIANT child, LONG *topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG *left, LONG *top, LONG *width, LONG *height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT *child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    virtual ~BoardAccessible() = default;

    ULONG references_ = 1;
    MainWindow *window_;
};

} // namespace velmora::win32
