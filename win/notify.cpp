#include "win/notify.h"

#include <utility>

namespace win {
namespace {

int RealNotify(const Notice& n) {
    if (n.kind == Notice::Kind::MessageBox)
        return MessageBoxW(n.owner, n.text.c_str(), n.title.c_str(), n.flags);
    HANDLE source = RegisterEventSourceW(nullptr, n.title.c_str());
    if (!source)
        return 0;
    const wchar_t* strings[] = {n.text.c_str()};
    const BOOL ok = ReportEventW(source, static_cast<WORD>(n.flags), 0, 0, nullptr, 1, 0, strings, nullptr);
    DeregisterEventSource(source);
    return ok ? 1 : 0;
}

NoticeHandler& Handler() {
    static NoticeHandler handler;
    return handler;
}

} // namespace

int Notify(const Notice& notice) {
    const NoticeHandler& handler = Handler();
    return handler ? handler(notice) : RealNotify(notice);
}

NoticeHandler SetNoticeHandler(NoticeHandler handler) { return std::exchange(Handler(), std::move(handler)); }

} // namespace win
