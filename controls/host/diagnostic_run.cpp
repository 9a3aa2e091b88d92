#include "controls/host/diagnostic_run.h"

namespace host {
namespace {
// -1: as the build says; 0: off; 1: on (only honoured in a diagnostic build).
int g_override = -1;
} // namespace

bool IsDiagnosticRun() {
    return kDiagnosticBuild && g_override != 0;
}

ScopedDiagnosticRun::ScopedDiagnosticRun(bool on) : previous_(g_override) {
    g_override = on ? 1 : 0;
}
ScopedDiagnosticRun::~ScopedDiagnosticRun() {
    g_override = previous_;
}

} // namespace host
