// The GUI thread's COM apartment, started once when the thread begins and ended when it ends:
// single-threaded, as a thread with windows needs it. Handing a screen reader a control's
// accessible object and the standard file dialogs rely on it; nothing else starts COM.
#pragma once

#include <ole2.h>

namespace win {

class OleApartment {
public:
    OleApartment() : started_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleApartment() {
        if (started_)
            OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

private:
    bool started_;
};

} // namespace win
