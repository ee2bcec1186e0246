#pragma once

#include <string>

namespace testing_support::x11 {

// Full path of one of the X11 test programs built from tests/x11:
// "holdfin_test_drag_source" or "holdfin_test_drop_target" (their usage is at the top of
// their sources). Linking holdfin_test_support_x11 makes sure they are built.
inline std::string testProgramPath(const std::string& name) {
    return std::string(HOLDFIN_TEST_PROGRAMS_DIR) + "/" + name;
}

} // namespace testing_support::x11
