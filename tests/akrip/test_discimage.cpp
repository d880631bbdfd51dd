// The disc-image writer: the cue sheet it writes, the .bin libcdio will read beside it, audio
// from a caller's generator, and the discs it refuses to write.

#include "TestMain.h"

#include "DiscImage.h"

#include <QTemporaryDir>

using discimage::TrackSpec;

Q_DECLARE_METATYPE(std::vector<TrackSpec>)

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class DiscImageTest : public QObject {
    Q_OBJECT
private slots:
    void writesSheetAndImage() {
        QTemporaryDir dir;
        const QString cue = dir.filePath("Demo Disc.cue");
        const std::vector<TrackSpec> tracks{
            {TrackSpec::Audio, 4653, {}, discimage::CopyPermitted | discimage::PreEmphasis},
            {TrackSpec::Data, 300, {}, 0},
            {TrackSpec::Audio, 75, {}, discimage::FourChannel}};
        std::string err;
        QVERIFY2(discimage::WriteCueBin(cue.toStdString(), tracks, &err), err.c_str());

        // The FILE line names the bin without its folder.
        QCOMPARE(ReadAll(cue), QByteArray("FILE \"Demo Disc.bin\" BINARY\n"
                                          "  TRACK 01 AUDIO\n"
                                          "    FLAGS DCP PRE\n"
                                          "    INDEX 01 00:00:00\n"
                                          "  TRACK 02 MODE1/2352\n"
                                          "    INDEX 01 01:02:03\n"
                                          "  TRACK 03 AUDIO\n"
                                          "    FLAGS 4CH\n"
                                          "    INDEX 01 01:06:03\n"));
        const discimage::DiscLayout layout(tracks);
        QCOMPARE(layout.leadOut(), 5028u);
        const QByteArray bin = ReadAll(dir.filePath("Demo Disc.bin"));
        QCOMPARE(bin.size(), qsizetype{5028} * 2352);
        const std::vector<std::uint8_t> expected = layout.bytes(0, layout.leadOut());
        QVERIFY(bin == QByteArray(reinterpret_cast<const char*>(expected.data()), bin.size()));

        // Tracks and frames differ from one another, so an offset read cannot pass.
        QVERIFY(layout.bytes(0, 1) != layout.bytes(1, 1));
        QVERIFY(layout.trackBytes(2) != layout.bytes(0, 75));
    }

    void generatorSuppliesTheAudio() {
        QTemporaryDir dir;
        const QString cue = dir.filePath("SONG.CUE");
        TrackSpec song{TrackSpec::Audio, 30, {}, 0};
        song.audio = [](std::uint32_t frame, discimage::Frame out) {
            for (std::size_t i = 0; i < out.size(); ++i)
                out[i] = static_cast<std::uint8_t>(frame * 7 + i);
        };
        QVERIFY(discimage::WriteCueBin(cue.toStdString(), {{TrackSpec::Audio, 10, {}, 0}, song}));
        const QByteArray bin = ReadAll(dir.filePath("SONG.BIN")); // libcdio's rule for .CUE
        QCOMPARE(bin.size(), 40 * 2352);
        QCOMPARE(static_cast<std::uint8_t>(bin[10 * 2352 + 3 * 2352 + 5]),
                 static_cast<std::uint8_t>(3 * 7 + 5));
    }

    void refusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::vector<TrackSpec>>("tracks");
        const std::vector<TrackSpec> one{{TrackSpec::Audio, 10, {}, 0}};
        QTest::newRow("no tracks") << "disc.cue" << std::vector<TrackSpec>{};
        QTest::newRow("an empty track")
            << "disc.cue" << std::vector<TrackSpec>{{TrackSpec::Audio, 10, {}, 0}, {}};
        QTest::newRow("100 tracks")
            << "disc.cue" << std::vector<TrackSpec>(100, {TrackSpec::Audio, 1, {}, 0});
        QTest::newRow("longer than 99:59:74")
            << "disc.cue" << std::vector<TrackSpec>{{TrackSpec::Audio, 449850, {}, 0}};
        QTest::newRow("sheet not named .cue") << "disc.txt" << one;
        QTest::newRow("folder missing") << "none/disc.cue" << one;
        QTest::newRow("quote in the bin name") << "a\"b.cue" << one;
    }
    void refusals() {
        QFETCH(QString, name);
        QFETCH(std::vector<TrackSpec>, tracks);
        QTemporaryDir dir;
        std::string err;
        QVERIFY(!discimage::WriteCueBin(dir.filePath(name).toStdString(), tracks, &err));
        QVERIFY(!err.empty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{}); // nothing half-made
    }
};

VERBENO_TEST_MAIN(DiscImageTest)
#include "test_discimage.moc"
