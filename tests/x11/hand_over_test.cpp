// What a drag out of the shelf hands a GTK 3 program: holdfin as a real process, our GTK drop
// target (gtk_drop_target.py) as the destination, on a private X server.
#include "shelf_road.h"

#include <map>

using namespace shelf_road;

namespace {

constexpr int kGtkLeft = 950, kGtkTop = 100;

class HandOverTest : public ShelfRoadTest {
protected:
    // gtk_drop_target.py MODE [poison], right of the fixture's Qt target.
    std::unique_ptr<ChildProcess> startGtkTarget(const std::string& mode, bool poisons = false) {
        std::vector<std::string> args = {HOLDFIN_GTK_TARGET, std::to_string(kGtkLeft) + ",100",
                                         mode};
        if (poisons)
            args.push_back("poison");
        auto target = ChildProcess::start("/usr/bin/python3", args);
        if (!target || !target->waitForLine("ready", 10s))
            return nullptr;
        return target;
    }

    void parkText(const std::string& text) {
        auto source = startProgram("holdfin_test_drag_source", {"text", "--at", "300,450", text});
        ASSERT_TRUE(source);
        dropFromSource(*source, 1);
    }

    // Drags tile `row` over the GTK target; released there, or on the bare desktop below it.
    void dragTileOver(ChildProcess& target, int row, bool dropsThere) {
        const QPoint grip = tileGrip(row);
        ASSERT_TRUE(m_pointer.moveTo(grip.x(), grip.y()));
        pumpEvents(200ms);
        ASSERT_TRUE(m_pointer.beginDrag(grip.x(), grip.y()));
        // From the drag threshold, 96 right and 48 down of the grip, into the target's middle.
        const int dx = (kGtkLeft + 150 - grip.x() - 96) / 20;
        const int dy = (kGtkTop + 150 - grip.y() - 48) / 20;
        ASSERT_TRUE(m_pointer.moveBy(dx, dy, 20));
        ASSERT_TRUE(target.waitForLine("enter ", 5s)) << "the drag reached the GTK target";
        pumpEvents(300ms);
        if (!dropsThere) {
            ASSERT_TRUE(m_pointer.moveBy(0, 40, 10)); // out, onto the bare desktop
        }
        ASSERT_TRUE(m_pointer.endDrag());
    }

    // The data the GTK target printed for its drop, by target, until it said "dropped".
    std::map<std::string, QByteArray> received(ChildProcess& target) {
        std::map<std::string, QByteArray> data;
        while (const auto line = target.readLine(10s)) {
            if (*line == "dropped")
                break;
            if (line->rfind("data ", 0) != 0)
                continue;
            const std::string rest = line->substr(5);
            const std::size_t space = rest.find(' ');
            data[rest.substr(0, space)] = QByteArray::fromBase64(QByteArray::fromStdString(
                space == std::string::npos ? "" : rest.substr(space + 1)));
        }
        return data;
    }
};

QByteArray utf16(const QString& text) {
    return {reinterpret_cast<const char*>(text.utf16()), text.size() * 2};
}

// A request from another client with a time no server gave (here seconds since 1970, as a
// file manager sent while a drag hovered it) once left every later drag out of holdfin
// unable to own its selection: peers then read nothing while the entry left the shelf.
TEST_F(HandOverTest, AHoverThatAsksAtAForeignTimeSpoilsNoLaterDragOut) {
    ASSERT_NO_FATAL_FAILURE(parkText("parked first"));
    ASSERT_TRUE(waitForList(1));
    auto gtk = startGtkTarget("read", true);
    ASSERT_TRUE(gtk);
    ASSERT_NO_FATAL_FAILURE(dragTileOver(*gtk, 0, false));
    ASSERT_TRUE(waitForList(1)) << "dropped on nothing, the entry stays";
    ASSERT_NO_FATAL_FAILURE(parkText("parked later"));
    ASSERT_TRUE(waitForList(2));

    ASSERT_NO_FATAL_FAILURE(dragTileOver(*gtk, 1, true));
    const auto data = received(*gtk);
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data.begin()->second, QByteArray("parked first")) << data.begin()->first;
    EXPECT_TRUE(waitForList(1)) << "handed over, the entry left the shelf";
}

// Every target a drag out offers carries the entry's data; a drop that reports success but
// asks for nothing takes nothing off the shelf.
TEST_F(HandOverTest, EveryOfferedTargetCarriesTheDataAndASuccessThatTookNothingKeepsTheEntry) {
    ASSERT_NO_FATAL_FAILURE(parkText("caf\xC3\xA9 au lait"));
    auto files = startFileSource({m_files[0]});
    ASSERT_TRUE(files);
    dropFromSource(*files, 1);
    ASSERT_TRUE(waitForList(2));
    const QByteArray text = "caf\xC3\xA9 au lait";
    const QByteArray path = QByteArray::fromStdString(m_files[0]);
    const QByteArray url = QByteArray::fromStdString(fileUrl(m_files[0]));
    {
        auto gtk = startGtkTarget("take-nothing");
        ASSERT_TRUE(gtk);
        ASSERT_NO_FATAL_FAILURE(dragTileOver(*gtk, 1, true));
        EXPECT_TRUE(received(*gtk).empty());
        EXPECT_TRUE(holdfinLine("drop delivered nothing", 10s));
        EXPECT_TRUE(waitForList(2)) << "nothing was handed over: the text stays";
    }
    auto gtk = startGtkTarget("every");
    ASSERT_TRUE(gtk);
    ASSERT_NO_FATAL_FAILURE(dragTileOver(*gtk, 0, true));
    const std::map<std::string, QByteArray> fileTargets = {
        {"text/uri-list", url + "\r\n"},
        {"text/x-moz-url", utf16(QString::fromLatin1(url + "\nalpha.txt"))},
        {"text/plain", path}};
    EXPECT_EQ(received(*gtk), fileTargets);
    ASSERT_TRUE(waitForList(1));

    ASSERT_NO_FATAL_FAILURE(dragTileOver(*gtk, 0, true));
    const std::map<std::string, QByteArray> textTargets = {{"text/plain", text},
                                                           {"text/plain;charset=utf-8", text},
                                                           {"UTF8_STRING", text},
                                                           {"STRING", "caf\xE9 au lait"},
                                                           {"TEXT", "caf\xE9 au lait"}};
    EXPECT_EQ(received(*gtk), textTargets);
    EXPECT_TRUE(waitForPanel(false)) << "the last entry handed over, the shelf is empty";
}

} // namespace
