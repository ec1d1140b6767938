// Every test program ends with the test runner that started it, so a runner killed mid-run leaves
// no test behind to go on starting programs and servers (theirs end with it in turn).
#if defined(__linux__)
#include <signal.h>
#include <sys/prctl.h>

namespace {

[[maybe_unused]] const bool kEndsWithRunner = prctl(PR_SET_PDEATHSIG, SIGKILL) == 0;

}  // namespace
#endif
