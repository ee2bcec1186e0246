#include "shelf/shelf_file.h"
#include "shelf/shelf_store.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/stat.h>

#include <variant>

using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::ShelfFile;
using shelf::ShelfStore;
using shelf::UTType;

namespace {

QList<BucketItem> sampleShelf() {
    return {BucketItem({BucketItemData(QStringLiteral("file:///home/u/a%20b.txt"), UTType::fileURL),
                        BucketItemData(QStringLiteral("file:///home/u/dir/"), UTType::folder)},
                       true),
            BucketItem(
                {BucketItemData(QStringLiteral("  some text\nwith ünïcode "), UTType::plainText)},
                false),
            BucketItem({}, false)};
}

QString fileUrl(const QString& path) {
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ShelfStoreTest : public testing::Test {
protected:
    QTemporaryDir home;
    QString data = home.filePath(QStringLiteral("data/holdfin"));
    QString cache = home.filePath(QStringLiteral("cache/holdfin"));
    ShelfStore store{data, cache};

    // An image a drop saved in the cache.
    BucketItem cachedImage(const QString& name) {
        QDir().mkpath(cache);
        const QString path = QDir(cache).filePath(name);
        EXPECT_TRUE(writeFile(path, "PNG bytes of " + name.toUtf8()));
        return BucketItem({BucketItemData(fileUrl(path), UTType::png)}, false);
    }
    QStringList keptImages() const {
        return QDir(store.imageDirectory()).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace

TEST(ShelfFileTest, EncodedShelfDecodesToEqualEntriesInOrder) {
    const QList<BucketItem> items = sampleShelf();
    const auto decoded = ShelfFile::decode(ShelfFile::encode(items));
    ASSERT_TRUE(std::holds_alternative<QList<BucketItem>>(decoded))
        << std::get<QString>(decoded).toStdString();
    EXPECT_EQ(std::get<QList<BucketItem>>(decoded), items) << "ids, payloads, types and locks";
}

TEST(ShelfFileTest, UnknownMembersAreIgnored) {
    const auto decoded = ShelfFile::decode(
        R"({"format":1,"later":true,"entries":[{"id":"6f1c0a5e-1b1e-4c1e-9a0a-2f7d1c1c1c1c",)"
        R"("locked":false,"colour":"red","items":[{"id":"{6f1c0a5e-1b1e-4c1e-9a0a-2f7d1c1c1c1d}",)"
        R"("content":"hi","type":"public.plain-text","x":[]}]}]})");
    ASSERT_TRUE(std::holds_alternative<QList<BucketItem>>(decoded));
    const auto& items = std::get<QList<BucketItem>>(decoded);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.front().items.front().content, QStringLiteral("hi"));
}

struct RejectedShelf {
    const char* bytes;
};
// The test's name: CMake's test discovery reads a '[' in a listed name as a list bracket.
void PrintTo(const RejectedShelf& shelf, std::ostream* os) {
    std::string text = shelf.bytes;
    std::replace(text.begin(), text.end(), '[', '(');
    std::replace(text.begin(), text.end(), ']', ')');
    *os << '"' << text << '"';
}

class ShelfFileRejectionTest : public testing::TestWithParam<RejectedShelf> {};

TEST_P(ShelfFileRejectionTest, DamagedOrMistypedShelfIsRefusedWithAReason) {
    const auto decoded = ShelfFile::decode(QByteArray(GetParam().bytes));
    ASSERT_TRUE(std::holds_alternative<QString>(decoded));
    EXPECT_FALSE(std::get<QString>(decoded).isEmpty());
}

const RejectedShelf kRejectedShelves[] = {
    {""},
    {"not json"},
    {"[]"},
    {R"({"format":1,"entries":[)"},
    {R"({"entries":[]})"},
    {R"({"format":2,"entries":[]})"},
    {R"({"format":"1","entries":[]})"},
    {R"({"format":1,"entries":{}})"},
    {R"({"format":1,"entries":[1]})"},
    {R"({"format":1,"entries":[{"id":"x","locked":false,"items":[]}]})"},
    {R"({"format":1,"entries":[{"id":"6f1c0a5e-1b1e-4c1e-9a0a-2f7d1c1c1c1c",)"
     R"("locked":"no","items":[]}]})"},
    {R"({"format":1,"entries":[{"id":"6f1c0a5e-1b1e-4c1e-9a0a-2f7d1c1c1c1c",)"
     R"("locked":true,"items":[{"id":"6f1c0a5e-1b1e-4c1e-9a0a-2f7d1c1c1c1c",)"
     R"("content":5,"type":"public.plain-text"}]}]})"},
    {R"({"format":1,"entries":[{"id":"6f1c0a5e-1b1e-4c1e-9a0a-2f7d1c1c1c1c",)"
     R"("locked":true,"items":[{"id":"6f1c0a5e-1b1e-4c1e-9a0a-2f7d1c1c1c1c",)"
     R"("content":"a","type":""}]}]})"}};

INSTANTIATE_TEST_SUITE_P(Inputs, ShelfFileRejectionTest, testing::ValuesIn(kRejectedShelves));

TEST_F(ShelfStoreTest, SavedShelfLoadsBackAndNothingSavedLoadsEmpty) {
    EXPECT_TRUE(store.load().items.isEmpty());
    EXPECT_TRUE(store.save({})) << "an empty shelf with nothing saved";
    EXPECT_FALSE(QFileInfo::exists(store.filePath())) << "writes nothing";

    const QList<BucketItem> items = sampleShelf();
    ASSERT_TRUE(store.save(items));
    const ShelfStore::Loaded loaded = ShelfStore(data, cache).load();
    EXPECT_EQ(loaded.items, items);
    EXPECT_TRUE(loaded.problem.isEmpty());
    EXPECT_EQ(QFileInfo(data).permissions() & (QFile::ReadOther | QFile::ReadGroup), 0)
        << "the folder is the user's alone";

    ASSERT_TRUE(store.save({}));
    EXPECT_TRUE(store.load().items.isEmpty()) << "emptying a saved shelf saves the emptiness";
}

TEST_F(ShelfStoreTest, DamagedFilesAreEachKeptAsideAndGiveWhatCanStillBeRead) {
    ASSERT_TRUE(QDir().mkpath(data));
    const QList<BucketItem> shelf = sampleShelf();
    const QByteArray whole = ShelfFile::encode(shelf);
    QByteArray secondBroken = whole;
    secondBroken.replace(R"("locked":false)", R"("locked":7)");
    const struct {
        QByteArray damage;
        qsizetype readable;
    } cases[] = {
        {whole.chopped(2), shelf.size()}, // only the closing brackets missing
        {whole.left(whole.indexOf(R"("items")", whole.indexOf(R"("items")") + 1)), 1},
        {secondBroken, shelf.size() - secondBroken.count(R"("locked":7)")},
        {QByteArray("\x89PNG\r\n"), 0},
        {QByteArray(R"({"format":1,"entries":[7]})"), 0},
    };
    QStringList kept;
    for (const auto& [damage, readable] : cases) {
        ASSERT_TRUE(writeFile(store.filePath(), damage));
        const ShelfStore::Loaded loaded = store.load();
        EXPECT_EQ(loaded.items.size(), readable) << damage.left(80).toStdString();
        EXPECT_FALSE(loaded.problem.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(store.filePath()));
        EXPECT_EQ(readFile(loaded.keptAs), damage) << "each damaged file is kept";
        EXPECT_FALSE(kept.contains(loaded.keptAs)) << "never in place of an earlier one";
        kept << loaded.keptAs;
    }
    for (const QString& path : kept)
        EXPECT_TRUE(QFileInfo::exists(path));
    ASSERT_TRUE(QDir().mkpath(store.filePath())) << "a folder where the file should be";
    const ShelfStore::Loaded folder = store.load();
    EXPECT_FALSE(folder.problem.isEmpty());
    EXPECT_TRUE(QFileInfo(folder.keptAs).isDir());
}

TEST_F(ShelfStoreTest, HugeFileIsRefusedWithoutBeingRead) {
    ASSERT_TRUE(QDir().mkpath(data));
    {
        QFile file(store.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(100 * 1024 * 1024)); // sparse: 100 MB of nothing
    }
    const ShelfStore::Loaded loaded = store.load();
    EXPECT_TRUE(loaded.items.isEmpty());
    EXPECT_NE(loaded.problem.indexOf(QStringLiteral("larger")), -1);
    EXPECT_TRUE(QFileInfo::exists(loaded.keptAs));
}

TEST_F(ShelfStoreTest, FifoIsRefusedInsteadOfBlocking) {
    ASSERT_TRUE(QDir().mkpath(data));
    ASSERT_EQ(::mkfifo(QFile::encodeName(store.filePath()).constData(), 0600), 0);
    EXPECT_FALSE(store.load().problem.isEmpty());
}

TEST_F(ShelfStoreTest, CachedImagesMoveToTheDataFolderAndGoWhenNoEntryRefersToThem) {
    const BucketItem first = cachedImage(QStringLiteral("image-1.png"));
    const BucketItem second = cachedImage(QStringLiteral("image-2.jpg"));
    ASSERT_TRUE(store.save({first, second}));
    ASSERT_EQ(keptImages().size(), 2);

    // The next session: the cache is emptied, the saved entries refer to the data folder.
    QDir(cache).removeRecursively();
    const QList<BucketItem> restored = ShelfStore(data, cache).load().items;
    ASSERT_EQ(restored.size(), 2);
    for (const BucketItem& entry : restored) {
        const QUrl url(entry.items.front().content);
        ASSERT_TRUE(url.isLocalFile());
        EXPECT_EQ(QFileInfo(url.toLocalFile()).absolutePath(), store.imageDirectory());
        EXPECT_FALSE(readFile(url.toLocalFile()).isEmpty());
        EXPECT_EQ(entry.items.front().id,
                  entry == restored.front() ? first.items.front().id : second.items.front().id);
    }
    EXPECT_EQ(restored.front().items.front().type, UTType::png);

    // The first entry goes but may come back (undo): its image stays until it is gone too.
    ASSERT_TRUE(store.save({restored.back()}, {restored.front()}));
    EXPECT_EQ(keptImages().size(), 2);
    ASSERT_TRUE(store.save({restored.back()}));
    EXPECT_EQ(keptImages(),
              QStringList{
                  QFileInfo(QUrl(restored.back().items.front().content).toLocalFile()).fileName()});

    store.erase();
    EXPECT_FALSE(QFileInfo::exists(store.filePath()));
    EXPECT_TRUE(keptImages().isEmpty());
}

TEST_F(ShelfStoreTest, ErasingKeepsImagesOfEntriesStillShown) {
    const BucketItem image = cachedImage(QStringLiteral("image-3.png"));
    ASSERT_TRUE(store.save({image}));
    const QList<BucketItem> restored = ShelfStore(data, cache).load().items;
    store.erase(restored);
    EXPECT_FALSE(QFileInfo::exists(store.filePath()));
    EXPECT_EQ(keptImages().size(), 1) << "the entry on screen still shows and hands out its image";
}
