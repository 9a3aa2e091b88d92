#include "win/subclass.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace win {
namespace {

struct Entry {
    SUBCLASSPROC proc;
    UINT_PTR id;
    DWORD_PTR data;
    bool live;
};

struct Chain {
    WNDPROC original = nullptr;
    std::vector<Entry> entries; // in installation order; the last one runs first
    std::size_t below = 0;      // entries[0, below) are still to run for the message in flight
    int depth = 0;              // messages of this window in flight (re-entrant sends)
    bool destroyed = false;
};

// The chain's address must survive rehashing while a message is in flight: a unique_ptr per window.
thread_local std::unordered_map<HWND, std::unique_ptr<Chain>> chains;

Chain* Find(HWND hwnd) {
    const auto it = chains.find(hwnd);
    return it == chains.end() ? nullptr : it->second.get();
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Called with no message of the window in flight: drops removed entries, and lets go of the window
// once nothing is left on it (or it is gone).
void Settle(HWND hwnd, Chain& chain) {
    std::erase_if(chain.entries, [](const Entry& e) { return !e.live; });
    if (!chain.destroyed && !chain.entries.empty())
        return;
    const bool ours = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &ChainProc;
    if (chain.destroyed || ours) {
        if (ours)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.original));
        chains.erase(hwnd);
    }
    // Otherwise a later subclass still calls ChainProc: stay as a pass-through to the original.
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Chain* chain = Find(hwnd);
    if (!chain)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const std::size_t saved = chain->below;
    chain->below = chain->entries.size();
    ++chain->depth;
    const LRESULT result = DefSubclass(hwnd, msg, wParam, lParam);
    chain->below = saved;
    if (msg == WM_NCDESTROY)
        chain->destroyed = true;
    if (--chain->depth == 0)
        Settle(hwnd, *chain);
    return result;
}

} // namespace

bool SetSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    if (!proc || !IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId())
        return false;
    Chain* chain = Find(hwnd);
    if (chain && !chain->destroyed) {
        for (Entry& e : chain->entries) {
            if (e.live && e.proc == proc && e.id == id) {
                e.data = data;
                return true;
            }
        }
    }
    if (!chain) {
        auto fresh = std::make_unique<Chain>();
        SetLastError(0);
        fresh->original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc)));
        if (!fresh->original)
            return false;
        chain = fresh.get();
        chains.emplace(hwnd, std::move(fresh));
    }
    chain->entries.push_back({proc, id, data, true});
    return true;
}

bool RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    Chain* chain = Find(hwnd);
    if (!chain)
        return false;
    for (Entry& e : chain->entries) {
        if (e.live && e.proc == proc && e.id == id) {
            e.live = false;
            if (chain->depth == 0)
                Settle(hwnd, *chain);
            return true;
        }
    }
    return false;
}

LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Chain* chain = Find(hwnd);
    if (!chain)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    std::size_t next = chain->below;
    while (next > 0 && !chain->entries[next - 1].live)
        --next;
    if (next == 0)
        return CallWindowProcW(chain->original, hwnd, msg, wParam, lParam);
    const Entry entry = chain->entries[next - 1]; // a copy: the procedure may add entries
    const std::size_t saved = chain->below;
    chain->below = next - 1;
    const LRESULT result = entry.proc(hwnd, msg, wParam, lParam, entry.id, entry.data);
    chain->below = saved;
    return result;
}

} // namespace win
