#include "backend/qt_screens.h"

#include <gtest/gtest.h>

namespace {

struct Frame {
    const char* name;
    QRect available;
    std::optional<QRect> workArea;
    qreal ratio;
    QRect expected;
};

class QtScreensVisibleFrame : public testing::TestWithParam<Frame> {};

// With several monitors Qt's available geometry is the whole primary; the work area (across
// all monitors) takes the docks away.
INSTANTIATE_TEST_SUITE_P(
    WorkAreas, QtScreensVisibleFrame,
    testing::Values(
        Frame{"topPanel", {0, 0, 1920, 1080}, QRect(0, 32, 3200, 1048), 1, {0, 32, 1920, 1048}},
        Frame{"leftDock", {0, 0, 1920, 1080}, QRect(64, 0, 3136, 1080), 1, {64, 0, 1856, 1080}},
        Frame{"scaled", {0, 0, 960, 540}, QRect(0, 64, 1920, 1016), 2, {0, 32, 960, 508}},
        Frame{"noWorkArea", {0, 0, 1920, 1080}, std::nullopt, 1, {0, 0, 1920, 1080}},
        Frame{"disjoint", {0, 0, 1920, 1080}, QRect(3000, 0, 100, 100), 1, {0, 0, 1920, 1080}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(QtScreensVisibleFrame, CutsTheAvailableGeometryToTheWorkArea) {
    EXPECT_EQ(backend::QtScreens::availableGeometry(GetParam().available, GetParam().workArea,
                                                    GetParam().ratio),
              GetParam().expected);
}

} // namespace
