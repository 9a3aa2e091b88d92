// Diagnostic run: the program runs as a developer's build (Debug builds define ZEV_DIAGNOSTIC_RUN).
// Some control error messages are shown only then; a release build never shows them, whatever a
// test or caller asks for.
#pragma once

namespace host {

#ifdef ZEV_DIAGNOSTIC_RUN
constexpr bool kDiagnosticBuild = true;
#else
constexpr bool kDiagnosticBuild = false;
#endif

bool IsDiagnosticRun();

// For the scope of the object, the diagnostic run is switched on or off (tests exercise both paths of
// the controls). Switching on has no effect in a release build. Scopes nest.
class ScopedDiagnosticRun {
public:
    explicit ScopedDiagnosticRun(bool on);
    ~ScopedDiagnosticRun();
    ScopedDiagnosticRun(const ScopedDiagnosticRun&) = delete;
    ScopedDiagnosticRun& operator=(const ScopedDiagnosticRun&) = delete;

private:
    int previous_;
};

} // namespace host
