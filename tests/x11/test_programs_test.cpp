// The drag source and drop target programs against each other under a private X server:
// later tests rely on both doing real XDND with the data and actions they are told.
#include "support/x11/child_process.h"
#include "support/x11/pointer_driver.h"
#include "support/x11/test_programs.h"
#include "support/x11/xvfb_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QByteArray>

#include <sstream>

using namespace std::chrono_literals;
using namespace testing_support::x11;

namespace {

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

std::optional<Geometry> readyGeometry(ChildProcess& program) {
    auto line = program.waitForLine("ready ", 10s);
    if (!line)
        return std::nullopt;
    std::istringstream in(line->substr(6));
    Geometry g;
    in >> g.x >> g.y >> g.width >> g.height;
    return g;
}

// Their standard error goes to the test log, to tell why one did not come up.
ChildProcess::Options programOptions() {
    ChildProcess::Options options;
    options.showStderr = true;
    return options;
}

struct DropCase {
    std::string mode;
    std::string accept;
    std::string expectedMime; // empty: nothing may be dropped
    std::string expectedData; // a part of the dropped data
    std::string expectedResult;
};

class TestProgramsTest : public testing::TestWithParam<DropCase> {
protected:
    void SetUp() override {
        if (auto error = m_session.start())
            GTEST_SKIP() << *error;
    }
    XvfbSession m_session;
};

TEST_P(TestProgramsTest, dropCarriesDataAndAction) {
    const DropCase& c = GetParam();
    auto target = ChildProcess::start(testProgramPath("holdfin_test_drop_target"),
                                      {"--at", "600,100", "--accept", c.accept}, programOptions());
    auto source =
        ChildProcess::start(testProgramPath("holdfin_test_drag_source"),
                            {c.mode, "--at", "100,100", "--actions", "copymove"}, programOptions());
    ASSERT_TRUE(target && source);
    const auto to = readyGeometry(*target);
    const auto from = readyGeometry(*source);
    ASSERT_TRUE(to && from);

    PointerDriver pointer;
    ASSERT_TRUE(pointer.beginDrag(from->x + 50, from->y + 50));
    ASSERT_TRUE(source->waitForLine("drag-started ", 5s));
    ASSERT_TRUE(pointer.moveTo(to->x + 150, to->y + 150));
    ASSERT_TRUE(pointer.endDrag());

    const auto finished = source->waitForLine("drag-finished ", 10s);
    ASSERT_TRUE(finished);
    EXPECT_EQ(*finished, "drag-finished " + c.expectedResult);
    if (c.expectedMime.empty())
        return;
    const auto data = target->waitForLine("data " + c.expectedMime + " ", 5s);
    ASSERT_TRUE(data);
    const auto base64 = data->substr(data->rfind(' ') + 1);
    EXPECT_THAT(QByteArray::fromBase64(QByteArray::fromStdString(base64)).toStdString(),
                testing::HasSubstr(c.expectedData));
    EXPECT_TRUE(target->waitForLine("dropped " + c.expectedResult, 5s));
}

INSTANTIATE_TEST_SUITE_P(
    Drops, TestProgramsTest,
    testing::Values(DropCase{"text", "copy", "text/plain", "holdfin test text", "copy"},
                    DropCase{"files", "move", "text/uri-list", "file:///", "move"},
                    DropCase{"color", "copy", "application/x-color", "", "copy"},
                    DropCase{"text", "refuse", "", "", "ignore"}),
    [](const auto& info) { return info.param.mode + "_" + info.param.accept; });

} // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
