// The XSETTINGS property format, as settings managers write it, and what broken buffers give.
#include "backend/x11/xsettings.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

using backend::x11::parseXSettings;

namespace {

// Writes a property value the way a manager does, in either byte order.
class SettingsWriter {
public:
    explicit SettingsWriter(bool isMsbFirst = false) : m_isMsbFirst(isMsbFirst) {}

    SettingsWriter& integer(const std::string& name, std::int32_t value) {
        header(0, name);
        card(static_cast<std::uint32_t>(value), 4);
        return *this;
    }
    SettingsWriter& string(const std::string& name, const std::string& value) {
        header(1, name);
        card(static_cast<std::uint32_t>(value.size()), 4);
        padded(value);
        return *this;
    }
    SettingsWriter& color(const std::string& name, std::uint16_t r, std::uint16_t g,
                          std::uint16_t b, std::uint16_t a) {
        header(2, name);
        for (std::uint16_t channel : {r, g, b, a})
            card(channel, 2);
        return *this;
    }
    // The whole property: byte order, serial and count before the records.
    QByteArray bytes(std::uint32_t count) const {
        QByteArray out;
        out.append(char(m_isMsbFirst ? 1 : 0)).append(3, '\0');
        appendCard(out, 7, 4); // serial
        appendCard(out, count, 4);
        return out + m_records;
    }
    QByteArray bytes() const { return bytes(m_count); }

private:
    void header(std::uint8_t type, const std::string& name) {
        ++m_count;
        m_records.append(char(type)).append('\0');
        card(static_cast<std::uint32_t>(name.size()), 2);
        padded(name);
        card(3, 4); // last-change serial
    }
    void padded(const std::string& text) {
        m_records.append(text.data(), qsizetype(text.size()));
        m_records.append(qsizetype((4 - text.size() % 4) % 4), '\0');
    }
    void card(std::uint32_t value, int size) { appendCard(m_records, value, size); }
    void appendCard(QByteArray& out, std::uint32_t value, int size) const {
        for (int i = 0; i < size; ++i) {
            const int shift = 8 * (m_isMsbFirst ? size - 1 - i : i);
            out.append(char((value >> shift) & 0xff));
        }
    }

    bool m_isMsbFirst;
    QByteArray m_records;
    std::uint32_t m_count = 0;
};

SettingsWriter desktopLike(bool isMsbFirst) {
    SettingsWriter writer(isMsbFirst);
    writer.string("Net/IconThemeName", "Papirus")
        .string("Net/ThemeName", "Adwaita-dark")
        .integer("Gtk/ApplicationPreferDarkTheme", 1)
        .integer("Net/DndDragThreshold", -8)
        .color("Gtk/ColorScheme", 0xffff, 0x8000, 0, 0xffff)
        .string("Gtk/FontName", "Noto Sans, 10");
    return writer;
}

class XSettingsByteOrder : public testing::TestWithParam<bool> {};

TEST_P(XSettingsByteOrder, readsEveryTypeOfSetting) {
    const auto settings = parseXSettings(desktopLike(GetParam()).bytes());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->size(), 6);
    EXPECT_EQ(settings->value("Net/IconThemeName"), QVariant(QString("Papirus")));
    EXPECT_EQ(settings->value("Net/ThemeName"), QVariant(QString("Adwaita-dark")));
    EXPECT_EQ(settings->value("Gtk/ApplicationPreferDarkTheme"), QVariant(1));
    EXPECT_EQ(settings->value("Net/DndDragThreshold"), QVariant(-8)) << "a signed INT32";
    EXPECT_EQ(settings->value("Gtk/ColorScheme").value<QColor>(),
              QColor::fromRgba64(0xffff, 0x8000, 0, 0xffff));
    EXPECT_EQ(settings->value("Gtk/FontName"), QVariant(QString("Noto Sans, 10")));
}

INSTANTIATE_TEST_SUITE_P(LsbAndMsb, XSettingsByteOrder, testing::Bool());

TEST(XSettings, readsNamesAndValuesOfEveryPaddingLength) {
    SettingsWriter writer;
    for (int length = 1; length <= 8; ++length)
        writer.string(std::string(std::size_t(length), 'a'), std::string(std::size_t(length), 'v'));
    const auto settings = parseXSettings(writer.bytes());
    ASSERT_TRUE(settings);
    for (int length = 1; length <= 8; ++length)
        EXPECT_EQ(settings->value(QString(length, 'a')).toString(), QString(length, 'v'));
}

TEST(XSettings, readsUtf8AndEmptyStrings) {
    const auto settings = parseXSettings(
        SettingsWriter().string("Net/ThemeName", "Th\xc3\xa8me").string("Gtk/Empty", "").bytes());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->value("Net/ThemeName").toString(), QString::fromUtf8("Th\xc3\xa8me"));
    EXPECT_EQ(settings->value("Gtk/Empty"), QVariant(QString()));
}

TEST(XSettings, aLaterRecordOfANameWins) {
    const auto settings = parseXSettings(
        SettingsWriter().string("Net/ThemeName", "Old").string("Net/ThemeName", "New").bytes());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->value("Net/ThemeName").toString(), "New");
}

TEST(XSettings, noSettingsIsAnEmptyMap) {
    const auto settings = parseXSettings(SettingsWriter().bytes());
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings->isEmpty());
}

TEST(XSettings, everyTruncationGivesNothing) {
    const QByteArray whole = desktopLike(false).bytes();
    for (qsizetype length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(parseXSettings(whole.left(length))) << "cut at " << length;
}

TEST(XSettings, brokenBuffersGiveNothing) {
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray badOrder = desktopLike(false).bytes();
    badOrder[0] = 2;
    QByteArray unknownType = SettingsWriter().integer("Net/A", 1).bytes();
    unknownType[12] = 3;
    QByteArray longName = SettingsWriter().integer("Net/A", 1).bytes();
    longName[14] = char(0xff); // name length 0xff.. runs past the end
    QByteArray longString = SettingsWriter().string("Net/A", "x").bytes();
    longString[28] = char(0xff);
    longString[31] = char(0x7f); // value length near 2 GiB
    const Case cases[] = {
        {"unknown byte order", badOrder},
        {"unknown setting type", unknownType},
        {"name longer than the buffer", longName},
        {"string longer than the buffer", longString},
        {"more records counted than present", desktopLike(false).bytes(7)},
        {"a count of four billion", SettingsWriter().bytes(0xffffffffu)},
        {"an empty name", SettingsWriter().integer("", 1).bytes()},
        {"garbage", QByteArray("\x00garbage in, nothing out", 24)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(parseXSettings(c.bytes)) << c.what;
}

TEST(XSettings, bytesAfterTheCountedRecordsAreIgnored) {
    const auto settings = parseXSettings(desktopLike(false).bytes(2) + QByteArray(5, 'x'));
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->keys(), (QStringList{"Net/IconThemeName", "Net/ThemeName"}));
}

} // namespace
