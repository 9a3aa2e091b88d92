#include "controls/toolbar/window_hooks.h"

#include "win/notify.h"

#include <commctrl.h>

#include <algorithm>

namespace toolbarskin {
namespace {

void CallOwner(HookRecord& r, bool before, bool& handled, LRESULT& result, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (const std::shared_ptr<HookOwner*> owner = r.owner.lock())
        (*owner)->HookCallback(before, handled, result, r.window, msg, wParam, lParam, r.userValue);
}

} // namespace

WindowHooks::~WindowHooks() {
    HookReleaseAll();
}

LRESULT CALLBACK WindowHooks::HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR ref) {
    HookRecord& r = *reinterpret_cast<HookRecord*>(ref);
    const std::shared_ptr<HookRecord> pin = r.self; // whatever this call frees, it outlives the call
    ++r.nesting;
    bool handled = false;
    LRESULT result = 0;
    if (TableHolds(r.before, msg))
        CallOwner(r, true, handled, result, msg, wParam, lParam);
    // The window's own procedure must see its destruction whatever the owner said.
    if (msg == WM_DESTROY || msg == WM_NCDESTROY) {
        r.shutdown = true;
    } else if (handled) {
        --r.nesting;
        return result;
    }
    result = DefSubclassProc(hwnd, msg, wParam, lParam);
    if (r.nesting == 1 && r.shutdown) {
        RemoveWindowSubclass(hwnd, &WindowHooks::HookProc, id);
        r.nesting = 0;
        r.freed = true;
        r.self.reset();
        return result;
    }
    if (TableHolds(r.after, msg))
        CallOwner(r, false, handled, result, msg, wParam, lParam);
    --r.nesting;
    return result;
}

bool WindowHooks::HookWindow(HWND hwnd, LONG_PTR lParamUser, HookOwner* owner) {
    const std::wstring routine = L"HookWindow";
    if (!IsWindow(hwnd)) {
        HookError(routine, L"Invalid window handle");
        return false;
    }
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId()) {
        HookError(routine, L"Window handle belongs to another process");
        return false;
    }
    // Its messages would reach the owner on that thread, beside everything this one does.
    if (thread != GetCurrentThreadId()) {
        HookError(routine, L"Window handle belongs to another thread");
        return false;
    }
    if (!owner)
        owner = dynamic_cast<HookOwner*>(this);
    if (!owner) {
        HookError(routine, L"Callback method not found");
        return false;
    }
    if (!records_)
        records_.emplace();
    const std::wstring key = HookKey(reinterpret_cast<std::uintptr_t>(hwnd));
    if (std::ranges::any_of(*records_, [&](const Entry& e) { return e.first == key; })) {
        HookError(routine, L"Window handle is already subclassed");
        return false;
    }
    auto record = std::make_shared<HookRecord>();
    record->window = hwnd;
    record->owner = owner->alive_;
    record->userValue = lParamUser;
    record->self = record;
    if (!SetWindowSubclass(hwnd, &WindowHooks::HookProc, SubclassId(), reinterpret_cast<DWORD_PTR>(record.get()))) {
        HookError(routine, L"SetWindowSubclass failed, error #" + std::to_wstring(GetLastError()));
        return false;
    }
    records_->emplace_back(key, std::move(record));
    return true;
}

void WindowHooks::HookAddMessage(HWND hwnd, std::int32_t uMsg, int when) {
    const std::shared_ptr<HookRecord> r = FindHookRecord(hwnd);
    if (!r || r->freed)
        return;
    if (when & kBefore)
        AddTableMessage(uMsg, kBefore);
    if (when & kAfter)
        AddTableMessage(uMsg, kAfter);
}

void WindowHooks::AddTableMessage(std::int32_t uMsg, HookTable table) {
    if (const std::shared_ptr<HookRecord> r = lastFound_.lock())
        if (AddTableEntry(table == kBefore ? r->before : r->after, uMsg) == TableEdit::Overflow)
            HookError(L"AddTableMessage", OverflowText());
}

void WindowHooks::DeleteTableMessage(std::int32_t uMsg, HookTable table) {
    if (const std::shared_ptr<HookRecord> r = lastFound_.lock())
        if (DeleteTableEntry(table == kBefore ? r->before : r->after, uMsg) == TableEdit::NotFound)
            HookError(L"DeleteTableMessage", NotFoundText(uMsg));
}

std::shared_ptr<HookRecord> WindowHooks::FindHookRecord(HWND hwnd) {
    lastFound_.reset();
    if (!records_) {
        HookError(L"FindHookRecord", L"Hook table hasn't been initialized");
        return nullptr;
    }
    const std::wstring key = HookKey(reinterpret_cast<std::uintptr_t>(hwnd));
    const auto found = std::ranges::find(*records_, key, &Entry::first);
    if (found == records_->end()) {
        HookError(L"FindHookRecord", MissingRecordText(reinterpret_cast<std::uintptr_t>(hwnd)));
        return nullptr;
    }
    lastFound_ = found->second;
    return found->second;
}

void WindowHooks::HookRelease(HWND hwnd) {
    const std::shared_ptr<HookRecord> r = FindHookRecord(hwnd);
    if (!r)
        return;
    if (!r->freed) {
        r->shutdown = true;
        DeleteTableMessage(kAllMessages, kBefore);
        DeleteTableMessage(kAllMessages, kAfter);
        // The hook procedure runs once more and, as the outermost call, takes itself out.
        SendMessageW(hwnd, WM_NULL, 0, 0);
    }
    std::erase_if(*records_, [&](const Entry& e) { return e.second == r; });
}

void WindowHooks::HookReleaseAll() {
    if (!records_)
        return;
    const std::vector<Entry> all = *records_; // HookRelease edits the collection
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (!it->second->freed)
            HookRelease(it->second->window);
    records_.reset();
}

void WindowHooks::HookError(const std::wstring& routine, const std::wstring& message) const {
    const std::wstring where = L"ToolbarSkin." + routine;
    win::LogEvent(L"ZEV Config", where + L": " + message, EVENTLOG_ERROR_TYPE);
    win::ShowMessage(nullptr, message + L".", L"Error in " + where, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace toolbarskin
