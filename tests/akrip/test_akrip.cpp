// The CD library on real libcdio, reading disc images written here: the drive list, MSF and
// LBA tables of contents with their data bits, raw reads compared byte for byte with the image,
// and the refusals (past the lead-out, small buffers, stale or made-up handles).

#include "TestMain.h"

#include "DiscImage.h"
#include "platform/akrip/akrip.h"

#include <QTemporaryDir>

#include <cstring>
#include <unistd.h>
#include <vector>

using discimage::DiscLayout;
using discimage::TrackSpec;

Q_DECLARE_METATYPE(std::vector<TrackSpec>)

namespace {

constexpr std::uint32_t kFrame = 2352;

TrackSpec Audio(std::uint32_t frames, std::uint8_t flags = 0) {
    return {TrackSpec::Audio, frames, {}, flags};
}
TrackSpec Data(std::uint32_t frames, std::uint8_t flags = 0) {
    return {TrackSpec::Data, frames, {}, flags};
}

std::uint32_t BigEndian32(const std::uint8_t* b) {
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

// The MSF bytes (0, M, S, F) a drive reports for a frame: two seconds ahead of the LBA.
QByteArray Msf(std::uint32_t lba) {
    const std::uint32_t a = lba + 150;
    const char bytes[4] = {0, char(a / 4500), char(a / 75 % 60), char(a % 75)};
    return QByteArray(bytes, 4);
}
QByteArray Bytes(const std::uint8_t* p, int n) {
    return QByteArray(reinterpret_cast<const char*>(p), n);
}

// One image on disk in its own folder, named as the drive by VERBENO_CD_DEVICE.
struct Image {
    explicit Image(std::vector<TrackSpec> tracks, const QString& name = "disc.cue")
        : layout(std::move(tracks)) {
        cue = dir.filePath(name);
        std::string err;
        written = discimage::WriteCueBin(cue.toStdString(), layout, &err);
        if (!written)
            qWarning("%s", err.c_str());
        qputenv("VERBENO_CD_DEVICE", QFile::encodeName(cue));
    }
    QTemporaryDir dir;
    DiscLayout layout;
    QString cue;
    bool written = false;
};

// A handle on the first listed drive, closed when the test is done with it.
struct Handle {
    Handle() {
        CDLIST list{};
        GetCDList(&list);
        if (list.num == 0)
            return;
        GETCDHAND req{};
        req.size = sizeof req;
        req.ver = 1;
        req.ha = list.cd[0].ha;
        h = GetCDHandle(&req);
    }
    ~Handle() {
        if (h)
            CloseCDHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HCDROM h = 0;
};

// A TRACKBUF with room for `frames`, its data area filled with a byte no image holds in a run.
struct Buffer {
    explicit Buffer(std::uint32_t frames, std::uint32_t maxLen = 0)
        : storage(TRACKBUFHEADER + std::size_t{frames} * kFrame, 0xa5) {
        std::memset(storage.data(), 0, TRACKBUFHEADER);
        tb()->maxLen = maxLen ? maxLen : frames * kFrame;
    }
    TRACKBUF* tb() { return reinterpret_cast<TRACKBUF*>(storage.data()); }
    std::uint32_t read(HCDROM h, std::uint32_t start, std::uint32_t frames) {
        tb()->startFrame = start;
        tb()->numFrames = frames;
        tb()->len = 7; // stale values: the library must set both
        tb()->startOffset = 3;
        return ReadCDAudioLBA(h, tb());
    }
    QByteArray data() const {
        const auto* t = reinterpret_cast<const TRACKBUF*>(storage.data());
        return Bytes(t->buf + t->startOffset, int(t->len));
    }
    std::vector<std::uint8_t> storage;
};

} // namespace

class AkripTest : public QObject {
    Q_OBJECT
private slots:
    void init() { qputenv("VERBENO_CD_DEVICE", ""); }

    void driveListIsTheNamedImage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("max");
        QTest::newRow("cue, max 0 taken as 8") << "disc.cue" << 0;
        QTest::newRow("cue, max 1") << "disc.cue" << 1;
        QTest::newRow("named by its bin") << "disc.bin" << 8;
        QTest::newRow("name longer than a record holds")
            << QString("a-folder-name-long-enough-to-pass-sixty-four-characters/"
                       "and-then-some.cue")
            << 0;
    }
    void driveListIsTheNamedImage() {
        QFETCH(QString, name);
        QFETCH(int, max);
        Image image({Audio(300), Audio(200)});
        QVERIFY(image.written);
        QString path = image.cue;
        if (name.contains('/')) { // a long path: the image itself sits in a subfolder
            path = image.dir.filePath(name);
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(discimage::WriteCueBin(path.toStdString(), image.layout));
        } else if (name.endsWith(".bin")) {
            path = image.dir.filePath(name);
        }
        qputenv("VERBENO_CD_DEVICE", QFile::encodeName(path));

        CDLIST list{};
        std::memset(&list.cd[1], 0x55, sizeof(CDREC)); // stale record beyond the drive
        list.max = std::uint8_t(max);
        GetCDList(&list);
        QCOMPARE(int(list.num), 1);
        QCOMPARE(int(list.cd[0].ha), 0);
        QCOMPARE(int(list.cd[0].tgt), 0);
        QCOMPARE(int(list.cd[0].lun), 0);
        const QByteArray full = QFile::encodeName(path);
        QCOMPARE(QByteArray(list.cd[0].id), full.left(MAXIDLEN));
        if (max != 1)
            QCOMPARE(int(list.cd[1].id[0]), 0);

        // The record's name may be cut; the handle still opens the whole name.
        Handle drive;
        QVERIFY(drive.h != 0);
        TOC toc{};
        QCOMPARE(ReadTOC(drive.h, &toc), std::uint32_t{SS_COMP});
        QCOMPARE(int(toc.lastTrack), 2);
    }

    void driveListWithoutTheVariable_data() {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<int>("max");
        QTest::newRow("unset, max 0") << QByteArray() << 0;
        QTest::newRow("unset, max 1") << QByteArray() << 1;
        QTest::newRow("empty, max 8") << QByteArray("") << 8;
    }
    void driveListWithoutTheVariable() {
        QFETCH(QByteArray, variable);
        QFETCH(int, max);
        // An image in the current folder is no drive: only hardware counts.
        Image image({Audio(100)});
        QVERIFY(QFile::copy(image.cue, "here.cue"));
        QVERIFY(QFile::copy(discimage::BinPathFor(image.cue.toStdString()).c_str(), "here.bin"));
        if (variable.isNull())
            qunsetenv("VERBENO_CD_DEVICE");
        else
            qputenv("VERBENO_CD_DEVICE", variable);

        CDLIST list{};
        list.max = std::uint8_t(max);
        GetCDList(&list);
        QVERIFY(list.num <= (max ? max : MAXCDLIST));
        for (int i = 0; i < list.num; ++i) {
            QCOMPARE(int(list.cd[i].ha), i);
            QVERIFY(QByteArray(list.cd[i].id) != "here.cue");
        }
        QFile::remove("here.cue");
        QFile::remove("here.bin");
    }

    void tableOfContents_data() {
        using discimage::CopyPermitted;
        using discimage::FourChannel;
        using discimage::PreEmphasis;
        QTest::addColumn<std::vector<TrackSpec>>("tracks");
        QTest::newRow("audio only") << std::vector{Audio(300), Audio(1000), Audio(451)};
        QTest::newRow("single frame") << std::vector{Audio(1)};
        QTest::newRow("data first") << std::vector{Data(200), Audio(300), Audio(150)};
        QTest::newRow("data in the middle") << std::vector{Audio(300), Data(226), Audio(400)};
        QTest::newRow("data last") << std::vector{Audio(400), Audio(300), Data(500)};
        QTest::newRow("control bits") << std::vector{
            Audio(100, PreEmphasis), Audio(100, CopyPermitted), Audio(100, FourChannel),
            Data(100, CopyPermitted), Audio(100, PreEmphasis | CopyPermitted)};
    }
    void tableOfContents() {
        QFETCH(std::vector<TrackSpec>, tracks);
        Image image(tracks);
        QVERIFY(image.written);
        Handle drive;
        QVERIFY(drive.h != 0);
        const int n = int(tracks.size());

        for (const bool msf : {true, false}) {
            if (!msf)
                QCOMPARE(ModifyCDParms(drive.h, CDP_MSF, 0), 1);
            TOC toc;
            std::memset(&toc, 0xee, sizeof toc); // the library zeroes what it leaves out
            QCOMPARE(ReadTOC(drive.h, &toc), std::uint32_t{SS_COMP});
            QCOMPARE(int(toc.firstTrack), 1);
            QCOMPARE(int(toc.lastTrack), n);
            QCOMPARE(toc.tocLen[0] << 8 | toc.tocLen[1], 2 + 8 * (n + 1));
            for (int p = 0; p <= n; ++p) {
                const TOCTRACK& d = toc.tracks[p];
                const bool leadOut = p == n;
                const std::uint32_t start = image.layout.trackStart(std::size_t(p));
                QCOMPARE(int(d.trackNumber), leadOut ? 0xaa : p + 1);
                QCOMPARE(d.ADR >> 4, 1);
                if (!leadOut) {
                    const TrackSpec& t = tracks[std::size_t(p)];
                    const int control = (t.kind == TrackSpec::Data ? 4 : 0) | t.flags;
                    QCOMPARE(d.ADR & 0x0f, control);
                }
                if (msf)
                    QCOMPARE(Bytes(d.addr, 4), Msf(start));
                else
                    QCOMPARE(BigEndian32(d.addr), start);
            }
            QCOMPARE(Bytes(reinterpret_cast<const std::uint8_t*>(&toc.tracks[n + 1]),
                           int(sizeof(TOCTRACK)) * (MAXTOCTRACKS - n - 1)),
                     QByteArray(int(sizeof(TOCTRACK)) * (MAXTOCTRACKS - n - 1), '\0'));
        }
    }

    void firstTrackAtTwoSecondsAndBackToMsf() {
        Image image({Audio(75 * 62 + 3), Audio(10)});
        Handle drive;
        TOC toc{};
        QCOMPARE(ReadTOC(drive.h, &toc), std::uint32_t{SS_COMP});
        QCOMPARE(Bytes(toc.tracks[0].addr, 4), QByteArray("\0\0\2\0", 4));
        QCOMPARE(Bytes(toc.tracks[1].addr, 4), QByteArray("\0\1\4\3", 4)); // 4653 + 150 frames
        QCOMPARE(ModifyCDParms(drive.h, CDP_MSF, 0), 1);
        QCOMPARE(ReadTOC(drive.h, &toc), std::uint32_t{SS_COMP});
        QCOMPARE(Bytes(toc.tracks[1].addr, 4), QByteArray("\0\0\x12\x2d", 4));
        QCOMPARE(ModifyCDParms(drive.h, CDP_MSF, 1), 1);
        QCOMPARE(ReadTOC(drive.h, &toc), std::uint32_t{SS_COMP});
        QCOMPARE(Bytes(toc.tracks[1].addr, 4), QByteArray("\0\1\4\3", 4));
        // The switch belongs to the handle: another handle on the drive keeps MSF.
        Handle other;
        QVERIFY(other.h != 0 && other.h != drive.h);
        QCOMPARE(ModifyCDParms(drive.h, CDP_MSF, 0), 1);
        QCOMPARE(ReadTOC(other.h, &toc), std::uint32_t{SS_COMP});
        QCOMPARE(Bytes(toc.tracks[1].addr, 4), QByteArray("\0\1\4\3", 4));
    }

    void longDiscAddresses() {
        // 79 minutes: minutes past 60 and addresses past 16 bits. Only the sheet and the size
        // of the bin matter for the table of contents, so the bin is left sparse.
        QTemporaryDir dir;
        const DiscLayout layout({Audio(4500 * 70), Audio(4500 * 9 + 17)});
        QFile cue(dir.filePath("long.cue"));
        QVERIFY(cue.open(QIODevice::WriteOnly));
        cue.write(layout.cueSheet("long.bin").c_str());
        cue.close();
        QFile bin(dir.filePath("long.bin"));
        QVERIFY(bin.open(QIODevice::WriteOnly));
        QVERIFY(bin.resize(qint64{layout.leadOut()} * kFrame));
        bin.close();
        qputenv("VERBENO_CD_DEVICE", QFile::encodeName(cue.fileName()));

        Handle drive;
        QVERIFY(drive.h != 0);
        TOC toc{};
        QCOMPARE(ReadTOC(drive.h, &toc), std::uint32_t{SS_COMP});
        QCOMPARE(Bytes(toc.tracks[1].addr, 4), QByteArray("\0\x46\x02\0", 4));   // 70:02:00
        QCOMPARE(Bytes(toc.tracks[2].addr, 4), QByteArray("\0\x4f\x02\x11", 4)); // 79:02:17
        QCOMPARE(ModifyCDParms(drive.h, CDP_MSF, 0), 1);
        QCOMPARE(ReadTOC(drive.h, &toc), std::uint32_t{SS_COMP});
        QCOMPARE(Bytes(toc.tracks[2].addr, 4), QByteArray("\0\x05\x6c\xbd", 4)); // 355517
    }

    void readsTheImageBytes_data() {
        // Disc: audio 1000 frames at 0, data 300 at 1000, audio 777 at 1300; lead-out 2077.
        QTest::addColumn<uint>("start");
        QTest::addColumn<uint>("frames");
        QTest::newRow("first chunk of track 1") << 0u << 26u;
        QTest::newRow("middle of track 1") << 500u << 26u;
        QTest::newRow("last chunk of track 1") << 988u << 12u;
        QTest::newRow("across audio into data") << 990u << 26u;
        QTest::newRow("first chunk of the data track") << 1000u << 26u;
        QTest::newRow("middle of the data track") << 1137u << 26u;
        QTest::newRow("last chunk of the data track") << 1274u << 26u;
        QTest::newRow("first chunk after the data") << 1300u << 26u;
        QTest::newRow("up to the lead-out") << 2051u << 26u;
        QTest::newRow("last frame alone") << 2076u << 1u;
        QTest::newRow("more than one second at once") << 1200u << 200u;
    }
    void readsTheImageBytes() {
        QFETCH(uint, start);
        QFETCH(uint, frames);
        Image image({Audio(1000), Data(300), Audio(777)});
        QCOMPARE(image.layout.leadOut(), 2077u);
        Handle drive;
        QVERIFY(drive.h != 0);
        QCOMPARE(ModifyCDParms(drive.h, CDP_MSF, 0), 1);

        Buffer buffer(frames);
        QCOMPARE(buffer.read(drive.h, start, frames), std::uint32_t{SS_COMP});
        QCOMPARE(buffer.tb()->status, std::uint32_t{SS_COMP});
        QCOMPARE(buffer.tb()->startOffset, 0u);
        QCOMPARE(buffer.tb()->len, frames * kFrame);
        const std::vector<std::uint8_t> expected = image.layout.bytes(start, frames);
        QVERIFY(buffer.data() == Bytes(expected.data(), int(expected.size())));
    }

    void dataTrackReadsRawSectors() {
        // The raw sector of a data track, sync and header included, as it lies in the image.
        Image image({Audio(10), Data(20)});
        Handle drive;
        Buffer buffer(1);
        QCOMPARE(buffer.read(drive.h, 15, 1), std::uint32_t{SS_COMP});
        const QByteArray sector = buffer.data();
        QCOMPARE(sector.left(12), QByteArray("\0\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\0", 12));
        QCOMPARE(sector.mid(12, 4), QByteArray("\x00\x02\x15\x01", 4)); // 00:02:15, mode 1
    }

    void refusedReads_data() {
        QTest::addColumn<uint>("start");
        QTest::addColumn<uint>("frames");
        QTest::addColumn<uint>("maxLen"); // 0: room for `frames`
        QTest::newRow("runs past the lead-out") << 2060u << 26u << 0u;
        QTest::newRow("starts at the lead-out") << 2077u << 1u << 0u;
        QTest::newRow("far beyond the disc") << 0xfffffff0u << 26u << 0u;
        QTest::newRow("buffer one byte short") << 0u << 26u << 26u * kFrame - 1;
        QTest::newRow("frame count overflowing the byte count") << 0u << 0x80000000u << 61152u;
    }
    void refusedReads() {
        QFETCH(uint, start);
        QFETCH(uint, frames);
        QFETCH(uint, maxLen);
        Image image({Audio(1000), Data(300), Audio(777)});
        Handle drive;
        QVERIFY(drive.h != 0);

        Buffer buffer(maxLen ? 26 : frames, maxLen);
        const std::uint32_t result = buffer.read(drive.h, start, frames);
        QVERIFY(result != SS_COMP);
        QCOMPARE(buffer.tb()->status, result);
        QCOMPARE(buffer.tb()->len, 0u);
        QCOMPARE(std::uint32_t{GetAspiLibAspiError()}, result);
        QVERIFY(GetAspiLibAspiError() != 0);

        // The handle is still good for reads within the disc.
        Buffer good(26);
        QCOMPARE(good.read(drive.h, 2051, 26), std::uint32_t{SS_COMP});
    }

    void handles() {
        Image image({Audio(100)});
        Handle first;
        QVERIFY(first.h != 0);
        const HCDROM h = first.h;
        Buffer buffer(1);
        TOC toc{};

        // Never issued, or 0: refused everywhere, never followed.
        for (const HCDROM bad : {HCDROM{0}, h + 1000, ~h}) {
            QCOMPARE(CloseCDHandle(bad), 0);
            QVERIFY(ReadTOC(bad, &toc) != SS_COMP);
            QVERIFY(buffer.read(bad, 0, 1) != SS_COMP);
            QVERIFY(GetAspiLibAspiError() != 0);
            QCOMPARE(ModifyCDParms(bad, CDP_MSF, 0), 0);
        }
        const std::uint32_t noToc = ReadTOC(h, nullptr);
        QVERIFY(noToc != SS_COMP);
        QCOMPARE(std::uint32_t{GetAspiLibAspiError()}, noToc);
        QVERIFY(ReadCDAudioLBA(h, nullptr) != SS_COMP);

        // Closed twice: the second is refused, and the number stays dead after new opens.
        QCOMPARE(CloseCDHandle(h), 1);
        first.h = 0;
        QCOMPARE(CloseCDHandle(h), 0);
        Handle second;
        QVERIFY(second.h != 0 && second.h != h);
        QVERIFY(ReadTOC(h, &toc) != SS_COMP);
        QCOMPARE(ReadTOC(second.h, &toc), std::uint32_t{SS_COMP});
    }

    void badRequestsForAHandle_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("ha");
        QTest::addColumn<int>("tgt");
        QTest::newRow("size 0") << 0 << 0 << 0;
        QTest::newRow("size 11") << 11 << 0 << 0;
        QTest::newRow("size 13") << 13 << 0 << 0;
        QTest::newRow("adapter not listed") << 12 << 1 << 0;
        QTest::newRow("target not listed") << 12 << 0 << 1;
    }
    void badRequestsForAHandle() {
        QFETCH(int, size);
        QFETCH(int, ha);
        QFETCH(int, tgt);
        Image image({Audio(100)});
        CDLIST list{};
        GetCDList(&list);
        QCOMPARE(int(list.num), 1);
        GETCDHAND req{};
        req.size = std::uint8_t(size);
        req.ver = 1;
        req.ha = std::uint8_t(ha);
        req.tgt = std::uint8_t(tgt);
        QCOMPARE(GetCDHandle(&req), HCDROM{0});
        QVERIFY(GetAspiLibAspiError() != 0);
        QCOMPARE(GetCDHandle(nullptr), HCDROM{0});
    }

    void unreadableImageGivesNoHandleQuietly_data() {
        QTest::addColumn<QByteArray>("sheet"); // null: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a cue sheet") << QByteArray("this is no cue sheet\n");
        QTest::newRow("its bin missing")
            << QByteArray("FILE \"broken.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    }
    void unreadableImageGivesNoHandleQuietly() {
        QFETCH(QByteArray, sheet);
        QTemporaryDir dir;
        const QString cue = dir.filePath("broken.cue");
        if (!sheet.isNull()) {
            QFile f(cue);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(sheet);
        }
        qputenv("VERBENO_CD_DEVICE", QFile::encodeName(cue));
        CDLIST list{};
        GetCDList(&list);
        QCOMPARE(int(list.num), 1); // listed as named; opening it is what fails

        // libcdio would warn (on stdout, errors on stderr); the library keeps it quiet.
        QFile out(dir.filePath("output"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        std::fflush(stdout);
        std::fflush(stderr);
        const int savedOut = dup(1);
        const int savedErr = dup(2);
        dup2(out.handle(), 1);
        dup2(out.handle(), 2);
        GETCDHAND req{};
        req.size = sizeof req;
        const HCDROM h = GetCDHandle(&req);
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(savedOut, 1);
        dup2(savedErr, 2);
        close(savedOut);
        close(savedErr);
        out.close();
        QCOMPARE(h, HCDROM{0});
        QVERIFY(GetAspiLibAspiError() != 0);
        QCOMPARE(QFileInfo(out.fileName()).size(), 0);
    }

    void cdrdaoImage() {
        // A cdrdao table of contents over raw audio: the same interface, another driver.
        Image image({Audio(300), Audio(450)});
        const QString toc = image.dir.filePath("disc.toc");
        // libcdio looks for a .toc's data files from the current folder: name it in full.
        const QByteArray bin = QFile::encodeName(image.dir.filePath("disc.bin"));
        QFile f(toc);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("CD_DA\nTRACK AUDIO\nFILE \"" + bin + "\" 00:00:00 00:04:00\n" +
                "TRACK AUDIO\nFILE \"" + bin + "\" 00:04:00 00:06:00\n");
        f.close();
        qputenv("VERBENO_CD_DEVICE", QFile::encodeName(toc));
        Handle drive;
        QVERIFY(drive.h != 0);
        QCOMPARE(ModifyCDParms(drive.h, CDP_MSF, 0), 1);
        TOC t{};
        QCOMPARE(ReadTOC(drive.h, &t), std::uint32_t{SS_COMP});
        QCOMPARE(int(t.lastTrack), 2);
        QCOMPARE(BigEndian32(t.tracks[1].addr), 300u);
        QCOMPARE(BigEndian32(t.tracks[2].addr), 750u);
        Buffer buffer(26);
        QCOMPARE(buffer.read(drive.h, 424, 26), std::uint32_t{SS_COMP});
        const std::vector<std::uint8_t> expected = image.layout.bytes(424, 26);
        QVERIFY(buffer.data() == Bytes(expected.data(), int(expected.size())));
    }
};

VERBENO_TEST_MAIN(AkripTest)
#include "test_akrip.moc"
