// Hooks the window procedure of windows of this thread and hands chosen messages to an owner, before
// the window's own procedure, after it, or both. One record per hooked window, kept under the key
// "h" + the decimal window handle. Built on the platform's subclassing service: no code is generated,
// the window keeps its character set, handles and procedures stay pointer-sized.
//
// Every error goes through HookError: an error entry in the application event log and an exclamation
// message box; the operation then returns false or does nothing.
#pragma once

#include "controls/toolbar/message_table.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace toolbarskin {

// The receiver of a hooked window's messages.
class HookOwner {
public:
    // bBefore: called ahead of the window's own procedure, else after it with its result in lReturn.
    // Setting bHandled ahead keeps the message from the window's procedure (except WM_DESTROY, which
    // always reaches it) and from the call after it; lReturn is then the answer. lParamUser is the
    // hook's own value, kept between calls.
    virtual void HookCallback(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lhWnd, UINT uMsg, WPARAM wParam,
                              LPARAM lParam, LONG_PTR& lParamUser) = 0;

protected:
    HookOwner() = default;
    HookOwner(const HookOwner&) = delete;
    HookOwner& operator=(const HookOwner&) = delete;
    virtual ~HookOwner() = default;

private:
    friend class WindowHooks;
    // Hooks hold this weakly: an owner that is gone is not called, and the messages go on as before.
    std::shared_ptr<HookOwner*> alive_ = std::make_shared<HookOwner*>(this);
};

enum HookTable : int { kBefore = 1, kAfter = 2 };

struct HookRecord {
    int nesting = 0;       // calls of the hook procedure running for this window
    bool shutdown = false; // being released, or the window is being destroyed
    bool freed = false;    // the hook procedure took itself out: the record is of no further use
    HWND window = nullptr;
    std::weak_ptr<HookOwner*> owner;
    MessageTable before, after;
    LONG_PTR userValue = 0;
    // Keeps the record alive while its procedure is installed; cleared when the procedure removes
    // itself, so a call still running up the stack never sees it vanish.
    std::shared_ptr<HookRecord> self;
};

class WindowHooks {
public:
    WindowHooks() = default;
    WindowHooks(const WindowHooks&) = delete;
    WindowHooks& operator=(const WindowHooks&) = delete;
    // Releases every hook still in place.
    virtual ~WindowHooks();

    // Hooks a window of this thread. No owner: this object, which must then be a HookOwner.
    bool HookWindow(HWND hwnd, LONG_PTR lParamUser = 0, HookOwner* owner = nullptr);
    // when: kBefore, kAfter or both; message kAllMessages stands for every message.
    void HookAddMessage(HWND hwnd, std::int32_t uMsg, int when);
    // Table edits on the record last found by FindHookRecord.
    void AddTableMessage(std::int32_t uMsg, HookTable table);
    void DeleteTableMessage(std::int32_t uMsg, HookTable table);
    std::shared_ptr<HookRecord> FindHookRecord(HWND hwnd);
    // Takes effect when the outermost call of the hook procedure that follows it returns.
    void HookRelease(HWND hwnd);
    // From the last record to the first, skipping those freed when their window was destroyed.
    void HookReleaseAll();
    void HookError(const std::wstring& routine, const std::wstring& message) const;

    // The subclass procedure and this object's subclass id, so a test can ask the platform whether
    // a window is hooked.
    static LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR ref);
    UINT_PTR SubclassId() const { return reinterpret_cast<UINT_PTR>(this); }

private:
    using Entry = std::pair<std::wstring, std::shared_ptr<HookRecord>>;
    std::optional<std::vector<Entry>> records_; // none until the first hook, and after HookReleaseAll
    std::weak_ptr<HookRecord> lastFound_;
};

} // namespace toolbarskin
