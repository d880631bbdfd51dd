// The Wav -> MP3 path: output names, binding the encoder library, the encoding job with the
// real library (decoded back with libmpg123) and with stand-in libraries for every failure,
// the settings dialog and the command that ties them together.

#include "EncodingFixtures.h"
#include "ModalDialogDriver.h"
#include "ScriptedModals.h"
#include "TestMain.h"
#include "TestWindow.h"

#include "encoding/CEncoderSettingsDlg.h"
#include "encoding/EncodeWavFile.h"
#include "encoding/EncoderLibrary.h"
#include "encoding/OutputName.h"
#include "encoding/WavToMp3Command.h"
#include "platform/ui/ControlId.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/JobGuard.h"

#include <QCheckBox>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

using testing_support::ModalDialogDriver;
using testing_support::ScriptedModals;
using testing_support::TestWindow;

namespace {

constexpr int kFakeChunkBytes = 2 * 2304; // the stand-ins take 2304 samples a chunk

const QString kMissingInput = "Error opening input wav file";
const QString kCreateFailed = "Error creating output mp3 file";

void UseLibrary(const char* path) {
    qputenv("VERBENO_ENCODER_LIBRARY", path);
}

// The call log of a stand-in library that the binding has loaded.
QString FakeCalls(const char* path) {
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return "<not loaded>";
    auto calls = reinterpret_cast<const char* (*)()>(dlsym(handle, "fake_calls"));
    QString log = calls ? QString::fromLatin1(calls()) : QString("<no log>");
    dlclose(handle);
    return log;
}

void ResetFake(const char* path) {
    if (void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD)) {
        if (auto reset = reinterpret_cast<void (*)()>(dlsym(handle, "fake_reset")))
            reset();
        dlclose(handle);
    }
}

bool Bind(const char* path) {
    UseLibrary(path);
    const bool bound = BindEncoderLibrary();
    ResetFake(path);
    return bound;
}

EncoderSettings Defaults() {
    EncoderSettings settings;
    settings.bitrateIndex = 8;
    settings.channelIndex = 2;
    return settings;
}

QProgressBar* VisibleProgress(TestWindow& window) {
    for (QProgressBar* bar : window.bar()->findChildren<QProgressBar*>()) {
        if (bar->isVisible())
            return bar;
    }
    return nullptr;
}

// Whether the bound beInitStream lives in a library file in the current directory.
bool BoundFromCurrentDirectory() {
    Dl_info info{};
    const auto entry = reinterpret_cast<void*>(TheEncoderLibrary().beInitStream);
    if (!entry || !dladdr(entry, &info) || !info.dli_fname)
        return false;
    return QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath() == QDir::currentPath();
}

qint64 SizeOf(const QString& path) {
    return QFileInfo(path).size();
}

// Holds the soft address-space limit a little above what the process uses, so a large
// allocation really fails, and puts it back afterwards.
class AddressSpaceLimit {
public:
    AddressSpaceLimit() {
        getrlimit(RLIMIT_AS, &m_saved);
        rlimit tight = m_saved;
        tight.rlim_cur = CurrentSize() + (std::uint64_t(1) << 30);
        setrlimit(RLIMIT_AS, &tight);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &m_saved); }

private:
    static std::uint64_t CurrentSize() {
        QFile status("/proc/self/statm");
        status.open(QIODevice::ReadOnly);
        return status.readAll().split(' ').value(0).toULongLong() *
               std::uint64_t(sysconf(_SC_PAGESIZE));
    }
    rlimit m_saved{};
};

} // namespace

class EncodingTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { qunsetenv("VERBENO_PLANTED_MARK"); }

    // --- output names -------------------------------------------------------------------
    void outputName_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("full path") << "C:\\music\\song.wav"
                                   << "C:\\music\\song.mp3";
        QTest::newRow("posix path") << "/home/u/music/song.wav"
                                    << "/home/u/music/song.mp3";
        QTest::newRow("bare name") << "Track 3.wav"
                                   << "Track 3.mp3";
        QTest::newRow("two dots") << "a.b.wav"
                                  << "a.b.mp3";
        QTest::newRow("no extension keeps every character") << "C:\\music\\song"
                                                            << "C:\\music\\song.mp3";
        QTest::newRow("dot in a folder name") << "C:\\my.music\\song"
                                              << "C:\\my.music\\song.mp3";
        QTest::newRow("dot in a posix folder") << "/a.b/song"
                                               << "/a.b/song.mp3";
        QTest::newRow("leading dot") << ".wav"
                                     << ".wav.mp3";
        QTest::newRow("leading dot in folder") << "/x/.hidden"
                                               << "/x/.hidden.mp3";
        QTest::newRow("mp3 stays mp3") << "x.mp3"
                                       << "x.mp3";
    }
    void outputName() {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QCOMPARE(Mp3OutputName(input), output);
    }

    void settingsBecomeConfig_data() {
        QTest::addColumn<int>("bitrateIndex");
        QTest::addColumn<int>("channelIndex");
        QTest::addColumn<int>("kbps");
        QTest::addColumn<int>("mode");
        QTest::newRow("defaults") << 8 << 2 << 128 << BE_MP3_MODE_STEREO;
        QTest::newRow("192 mono") << 10 << 0 << 192 << BE_MP3_MODE_MONO;
        QTest::newRow("32 dual") << 0 << 1 << 32 << BE_MP3_MODE_DUALCHANNEL;
        QTest::newRow("320") << 13 << 2 << 320 << BE_MP3_MODE_STEREO;
        QTest::newRow("none checked") << -1 << -1 << 128 << BE_MP3_MODE_STEREO;
        QTest::newRow("past the table") << 14 << 7 << 128 << BE_MP3_MODE_STEREO;
    }
    void settingsBecomeConfig() {
        QFETCH(int, bitrateIndex);
        QFETCH(int, channelIndex);
        QFETCH(int, kbps);
        QFETCH(int, mode);
        EncoderSettings settings;
        settings.bitrateIndex = bitrateIndex;
        settings.channelIndex = channelIndex;
        settings.crcFlag = 1;
        settings.originalFlag = 1;
        const BE_CONFIG config = MakeEncoderConfig(settings);
        QCOMPARE(config.dwConfig, 0u);
        QCOMPARE(config.format.mp3.dwSampleRate, 44100u);
        QCOMPARE(int(config.format.mp3.wBitrate), kbps);
        QCOMPARE(int(config.format.mp3.byMode), mode);
        QCOMPARE(config.format.mp3.bCRC, 1);
        QCOMPARE(config.format.mp3.bOriginal, 1);
        QCOMPARE(config.format.mp3.bCopyright, 0);
        QCOMPARE(config.format.mp3.bPrivate, 0);
    }

    // --- binding ------------------------------------------------------------------------
    void bindingRefusesIncompleteLibraries_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "/nonexistent/libbladeenc.so"
                                      << "Error loading BLADEENC.DLL";
        QTest::newRow("no beInitStream") << FAKE_no_init << "Unable to get BladeEnc interface";
        QTest::newRow("no beEncodeChunk") << FAKE_no_encode << "Unable to get BladeEnc interface";
        QTest::newRow("no beDeinitStream") << FAKE_no_deinit << "Unable to get BladeEnc interface";
        QTest::newRow("no beCloseStream") << FAKE_no_close << "Unable to get BladeEnc interface";
        QTest::newRow("only beVersion missing")
            << FAKE_no_version << "Unable to get BladeEnc interface";
    }
    void bindingRefusesIncompleteLibraries() {
        QFETCH(QString, library);
        QFETCH(QString, message);
        ScriptedModals modals;
        qputenv("VERBENO_ENCODER_LIBRARY", library.toLocal8Bit());
        QVERIFY(!BindEncoderLibrary());
        QCOMPARE(modals.shown, QStringList{message});
    }

    void bindingNeverLoadsFromTheCurrentDirectory() {
        ScriptedModals modals;
        QVERIFY(QFile::copy(FAKE_planted, "libbladeenc.so"));
        qputenv("VERBENO_PLANTED_MARK", QFile::encodeName(QDir::current().filePath("ran")));
        qunsetenv("VERBENO_ENCODER_LIBRARY");
        for (const QString& candidate : EncoderLibraryCandidates())
            QVERIFY2(QFileInfo(candidate).absolutePath() != QDir::currentPath() ||
                         !candidate.contains('/'),
                     qPrintable(candidate));
        BindEncoderLibrary(); // may find the build's own library; never the planted one
        QVERIFY(!QFile::exists("ran"));
        QVERIFY(!BoundFromCurrentDirectory());

        // A search path that names the current directory is not followed either; the system
        // loader reads it at start-up, so this runs in a child process.
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_LIBRARY_PATH", ".::" + QDir::currentPath());
        env.insert("VERBENO_CHILD_BIND", QDir::currentPath());
        env.remove("VERBENO_ENCODER_LIBRARY");
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(QDir::currentPath());
        child.start(QCoreApplication::applicationFilePath(), {"childBindsWithoutCwd"});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
        QVERIFY(!QFile::exists("ran"));
        QFile::remove("libbladeenc.so");
    }
    void childBindsWithoutCwd() {
        if (qEnvironmentVariableIsEmpty("VERBENO_CHILD_BIND"))
            QSKIP("runs only as the child of bindingNeverLoadsFromTheCurrentDirectory");
        QDir::setCurrent(qEnvironmentVariable("VERBENO_CHILD_BIND")); // where the plant lies
        ScriptedModals modals;
        for (const QString& candidate : EncoderLibraryCandidates())
            QVERIFY2(candidate.contains('/') &&
                         QFileInfo(candidate).absolutePath() != QDir::currentPath(),
                     qPrintable(candidate));
        BindEncoderLibrary();
        QVERIFY(!BoundFromCurrentDirectory());
    }

    // --- the job with the real library --------------------------------------------------
    void encodesARealFile() {
        TestWindow window;
        window.show();
        ScriptedModals modals;
        QVERIFY(Bind(REAL_ENCODER));
        const auto tone = fixtures::StereoTone(2.0, 440, 660);
        QVERIFY(fixtures::WriteCdWav("song.wav", tone));
        bool barWasUp = false;
        modals.whileBoxIsUp([&](const QString&) { barWasUp = VisibleProgress(window); });

        QVERIFY(EncodeWavFile(QDir::current().filePath("song.wav"), Defaults(), true));
        QCOMPARE(modals.shown, QStringList{"Mp3 Encoding complete!"});
        QVERIFY(barWasUp);
        QVERIFY(!VisibleProgress(window));
        QCOMPARE(window.bar()->GetPaneText(0), QString("Ready"));

        const fixtures::DecodedMp3 mp3 = fixtures::DecodeMp3("song.mp3");
        QVERIFY(mp3.ok);
        QCOMPARE(mp3.rate, 44100L);
        QCOMPARE(mp3.channels, 2);
        QCOMPARE(mp3.bitrateKbps, 128);
        QCOMPARE(mp3.channelMode, int(BE_MP3_MODE_STEREO));
        QVERIFY(mp3.frameCount > 0);
        // The header is encoded too (11 samples' worth): about the input's length, within the
        // encoder's delay and padding.
        QVERIFY(std::abs(double(mp3.framesPerChannel) - double(tone.size() / 2)) < 3000);
    }

    void realSettingsReachTheFrames_data() {
        QTest::addColumn<int>("bitrateIndex");
        QTest::addColumn<int>("channelIndex");
        QTest::addColumn<int>("crc");
        QTest::addColumn<int>("kbps");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("channels");
        QTest::newRow("192 stereo crc") << 10 << 2 << 1 << 192 << 0 << 2;
        QTest::newRow("96 mono") << 6 << 0 << 0 << 96 << 3 << 1;
        QTest::newRow("160 dual") << 9 << 1 << 0 << 160 << 2 << 2;
    }
    void realSettingsReachTheFrames() {
        QFETCH(int, bitrateIndex);
        QFETCH(int, channelIndex);
        QFETCH(int, crc);
        QFETCH(int, kbps);
        QFETCH(int, mode);
        QFETCH(int, channels);
        ScriptedModals modals;
        QVERIFY(Bind(REAL_ENCODER));
        QVERIFY(fixtures::WriteCdWav("s.wav", fixtures::StereoTone(1.0, 300, 500)));
        EncoderSettings settings = Defaults();
        settings.bitrateIndex = bitrateIndex;
        settings.channelIndex = channelIndex;
        settings.crcFlag = crc;
        QVERIFY(EncodeWavFile("s.wav", settings, false));
        QVERIFY(modals.shown.isEmpty());
        const fixtures::DecodedMp3 mp3 = fixtures::DecodeMp3("s.mp3");
        QCOMPARE(mp3.bitrateKbps, kbps);
        QCOMPARE(mp3.channelMode, mode);
        QCOMPARE(mp3.channels, channels);
        QCOMPARE(mp3.everyFrameProtected, crc == 1);
        QVERIFY(!mp3.everyFrameOriginal);
    }

    // --- the job's loop, seen through a stand-in library ----------------------------------
    void chunking_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("calls");
        QTest::newRow("empty") << 0 << "deinit;close;";
        QTest::newRow("odd length") << kFakeChunkBytes + 5 << "encode 2304;encode 2;deinit;close;";
        QTest::newRow("exactly three chunks")
            << 3 * kFakeChunkBytes << "encode 2304;encode 2304;encode 2304;deinit;close;";
        QTest::newRow("one byte") << 1 << "encode 0;deinit;close;";
    }
    void chunking() {
        QFETCH(int, length);
        QFETCH(QString, calls);
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        QVERIFY(fixtures::WriteBytes("raw.wav", QByteArray(length, '\x01')));
        QVERIFY(EncodeWavFile("raw.wav", Defaults(), false));
        QVERIFY(modals.shown.isEmpty());
        const QString log = FakeCalls(FAKE_ok);
        QCOMPARE(log.section(';', 1), calls); // after the init line
        // One byte per 8 samples of each chunk, then the 16 bytes of the stream's end.
        const int chunks = length / kFakeChunkBytes;
        const int rest = (length % kFakeChunkBytes) / 2;
        QCOMPARE(SizeOf("raw.mp3"), qint64(chunks * 2304 / 8 + rest / 8 + 16));
    }

    void configReachesTheLibrary() {
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        QVERIFY(fixtures::WriteBytes("c.wav", QByteArray(10, 'x')));
        EncoderSettings settings = Defaults();
        settings.bitrateIndex = 10;
        settings.channelIndex = 0;
        settings.crcFlag = 1;
        settings.privateFlag = 1;
        QVERIFY(EncodeWavFile("c.wav", settings, false));
        QCOMPARE(FakeCalls(FAKE_ok).section(';', 0, 0),
                 QString("init cfg=0 rate=44100 mode=3 kbps=192 p=1 crc=1 c=0 o=0"));
    }

    void captionsShowThePercentage() {
        TestWindow window;
        window.show();
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        QVERIFY(fixtures::WriteBytes("long.wav", QByteArray(1000000, '\0')));
        // Every turn of the job's event pump samples the caption.
        QStringList captions;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] {
            const QString text = window.bar()->GetPaneText(0);
            if (captions.isEmpty() || captions.last() != text)
                captions << text;
        });
        sampler.start(0);
        QString atTheEnd;
        modals.whileBoxIsUp([&](const QString&) { atTheEnd = window.bar()->GetPaneText(0); });
        QVERIFY(EncodeWavFile("long.wav", Defaults(), true));
        sampler.stop();

        QCOMPARE(captions.value(0), QString("Encoding ... "));
        QCOMPARE(captions.value(1), QString("Encoding... 0%")); // 4608 of 1000000 bytes
        QVERIFY(captions.contains("Encoding... 9%"));
        QVERIFY(captions.contains("Encoding...10%"));
        QCOMPARE(atTheEnd, QString("Encoding...100%"));
        QCOMPARE(window.bar()->GetPaneText(0), QString("Ready"));
    }

    void emptyInputKeepsTheFirstCaption() {
        TestWindow window;
        window.show();
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        QVERIFY(fixtures::WriteBytes("empty.wav", {}));
        QString caption;
        modals.whileBoxIsUp([&](const QString&) { caption = window.bar()->GetPaneText(0); });
        QVERIFY(EncodeWavFile("empty.wav", Defaults(), true));
        QCOMPARE(caption, QString("Encoding ... "));
        QCOMPARE(SizeOf("empty.mp3"), qint64(16));
    }

    void existingOutputIsReplaced() {
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        QVERIFY(fixtures::WriteBytes("old.mp3", QByteArray(100000, 'o')));
        QVERIFY(fixtures::WriteBytes("old.wav", QByteArray(kFakeChunkBytes, 'x')));
        QVERIFY(EncodeWavFile("old.wav", Defaults(), false));
        QCOMPARE(SizeOf("old.mp3"), qint64(2304 / 8 + 16));
    }

    void lengthsBeyondFourGigabytes() {
        // A sparse file just over 4 GiB, fed in 16 MiB chunks: a 32-bit length would see only
        // the last 9216 bytes.
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_big_chunks));
        const qint64 length = (qint64(1) << 32) + 9216;
        {
            QFile big("big.wav");
            QVERIFY(big.open(QIODevice::WriteOnly));
            QVERIFY(big.resize(length));
        }
        QVERIFY(EncodeWavFile("big.wav", Defaults(), false));
        const QStringList calls = FakeCalls(FAKE_big_chunks).split(';', Qt::SkipEmptyParts);
        QCOMPARE(calls.count(), 1 + 257 + 2);
        QCOMPARE(calls.at(calls.count() - 3), QString("encode 4608"));
        QFile::remove("big.wav");
        QFile::remove("big.mp3");
    }

    // --- failures -----------------------------------------------------------------------
    void failures_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint64>("outputBytes"); // -1: no output file
        QTest::addColumn<bool>("barUp");
        QTest::newRow("init fails")
            << FAKE_init_fails << "Error opening encoding stream" << qint64(0) << false;
        QTest::newRow("no samples per chunk")
            << FAKE_zero_samples << "Error opening encoding stream" << qint64(0) << false;
        QTest::newRow("encode fails at the third chunk")
            << FAKE_encode_fails << "beEncodeChunk() failed" << qint64(2 * 2304 / 8) << true;
        QTest::newRow("encoder claims more than its buffer")
            << FAKE_oversized_output << "beEncodeChunk() failed" << qint64(0) << true;
        QTest::newRow("deinit fails")
            << FAKE_deinit_fails << "beExitStream failed" << qint64(4 * 2304 / 8) << true;
    }
    void failures() {
        QFETCH(QString, library);
        QFETCH(QString, message);
        QFETCH(qint64, outputBytes);
        QFETCH(bool, barUp);
        TestWindow window;
        window.show();
        ScriptedModals modals;
        QVERIFY(Bind(library.toLocal8Bit().constData()));
        const QByteArray input(4 * kFakeChunkBytes, 'i');
        QVERIFY(fixtures::WriteBytes("f.wav", input));
        bool barWasUp = false;
        qint64 sizeDuringBox = -2;
        modals.whileBoxIsUp([&](const QString&) {
            barWasUp = VisibleProgress(window);
            sizeDuringBox = QFileInfo::exists("f.mp3") ? SizeOf("f.mp3") : -1;
        });
        QVERIFY(!EncodeWavFile("f.wav", Defaults(), true));
        QCOMPARE(modals.shown, QStringList{message});
        QCOMPARE(barWasUp, barUp);
        QCOMPARE(sizeDuringBox, outputBytes); // closed and complete before the box
        QCOMPARE(SizeOf("f.mp3"), outputBytes);
        QVERIFY(!VisibleProgress(window));
        QFile in("f.wav");
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), input);
        QFile::remove("f.mp3");
    }

    void outOfMemory() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address-space limit cannot be combined with AddressSanitizer");
#endif
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_huge_buffers));
        QVERIFY(fixtures::WriteBytes("m.wav", QByteArray(100, 'x')));
        {
            const AddressSpaceLimit limit;
            QVERIFY(!EncodeWavFile("m.wav", Defaults(), true));
        }
        QCOMPARE(modals.shown, QStringList{"Out of memory"});
        QCOMPARE(FakeCalls(FAKE_huge_buffers).section(';', 1), QString("close;"));
    }

    void inputAndOutputFailures() {
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));

        // No such input: nothing is created.
        QVERIFY(!EncodeWavFile("missing.wav", Defaults(), true));
        QVERIFY(!QFileInfo::exists("missing.mp3"));

        // A folder for an input cannot be read.
        QVERIFY(QDir().mkdir("folder.wav"));
        QVERIFY(!EncodeWavFile("folder.wav", Defaults(), true));

        // The output's place is taken by a folder.
        QVERIFY(fixtures::WriteBytes("taken.wav", QByteArray(10, 'x')));
        QVERIFY(QDir().mkdir("taken.mp3"));
        QVERIFY(!EncodeWavFile("taken.wav", Defaults(), true));

        // An output name the system refuses (the file part would exceed 255 bytes); the input's
        // own long name works.
        const QString longName(253, 'n');
        QVERIFY(fixtures::WriteBytes(longName, QByteArray(10, 'x')));
        QVERIFY(!EncodeWavFile(longName, Defaults(), true));

        // The device is full: every write fails.
        QVERIFY(fixtures::WriteBytes("full.wav", QByteArray(kFakeChunkBytes, 'x')));
        QVERIFY(QFile::link("/dev/full", "full.mp3"));
        QVERIFY(!EncodeWavFile("full.wav", Defaults(), true));

        QCOMPARE(modals.shown, (QStringList{kMissingInput, "Read error", kCreateFailed,
                                            kCreateFailed, "Write error"}));
        QVERIFY(FakeCalls(FAKE_ok).count("init") == 1); // only the full device got a stream
    }

    void outputNeverOverwritesTheInput() {
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        const QByteArray audio(kFakeChunkBytes, 'a');
        QVERIFY(fixtures::WriteBytes("already.mp3", audio));
        QVERIFY(!EncodeWavFile("already.mp3", Defaults(), true));
        QVERIFY(fixtures::WriteBytes("linked.wav", audio));
        QVERIFY(QFile::link(QDir::current().filePath("linked.wav"), "linked.mp3"));
        QVERIFY(!EncodeWavFile("linked.wav", Defaults(), true));
        QCOMPARE(modals.shown, (QStringList{kCreateFailed, kCreateFailed}));
        for (const char* name : {"already.mp3", "linked.wav"}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), audio);
        }
    }

    void shrinkingInputIsAReadError() {
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        QVERIFY(fixtures::WriteBytes("shrink.wav", QByteArray(10 * kFakeChunkBytes, 's')));
        // Cut the file to 1.5 chunks as soon as the first chunk has been encoded.
        bool cut = false;
        QTimer cutter;
        QObject::connect(&cutter, &QTimer::timeout, [&] {
            if (!cut && FakeCalls(FAKE_ok).count("encode") == 1)
                cut = QFile::resize("shrink.wav", kFakeChunkBytes * 3 / 2);
        });
        cutter.start(0);
        QVERIFY(!EncodeWavFile("shrink.wav", Defaults(), true));
        cutter.stop();
        QCOMPARE(modals.shown, QStringList{"Read error"});
        // The first chunk only; the half chunk left after the cut is never passed on.
        QCOMPARE(FakeCalls(FAKE_ok).section(';', 1), QString("encode 2304;close;"));
    }

    void wavHeadersThatDeclareOtherAudioAreRefused_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("message"); // empty: encoded
        const QString tail = ". Only 16-bit stereo PCM at 44100 Hz can be encoded.";
        QTest::newRow("cd format") << fixtures::WavHeader(100) << QString();
        QTest::newRow("no header") << QByteArray("just some bytes") << QString();
        QTest::newRow("8-bit mono 22050")
            << fixtures::WavHeader(100, 1, 22050, 8)
            << "Unsupported WAV file: it holds 8-bit mono PCM audio at 22050 Hz" + tail;
        QTest::newRow("48 kHz") << fixtures::WavHeader(100, 2, 48000, 16)
                                << "Unsupported WAV file: it holds 16-bit stereo PCM audio at "
                                   "48000 Hz" +
                                       tail;
        QTest::newRow("float") << fixtures::WavHeader(100, 2, 44100, 32, 3)
                               << "Unsupported WAV file: it holds 32-bit stereo floating-point "
                                  "audio at 44100 Hz" +
                                      tail;
        QTest::newRow("six channels") << fixtures::WavHeader(100, 6, 44100, 16)
                                      << "Unsupported WAV file: it holds 16-bit 6-channel PCM "
                                         "audio at 44100 Hz" +
                                             tail;
    }
    void wavHeadersThatDeclareOtherAudioAreRefused() {
        QFETCH(QByteArray, header);
        QFETCH(QString, message);
        ScriptedModals modals;
        QVERIFY(Bind(FAKE_ok));
        QVERIFY(fixtures::WriteBytes("h.wav", header + QByteArray(100, '\0')));
        QFile::remove("h.mp3");
        QCOMPARE(EncodeWavFile("h.wav", Defaults(), false), message.isEmpty());
        QCOMPARE(modals.shown, message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(QFileInfo::exists("h.mp3"), message.isEmpty());
    }

    // --- the settings dialog and the command ---------------------------------------------
    void settingsDialogLayout() {
        CEncoderSettingsDlg dialog;
        ModalDialogDriver driver;
        driver.expect([](QWidget* shown) {
            QCOMPARE(shown->windowTitle(), QString("MP3 File Configuration"));
            const QFont font = shown->font();
            QCOMPARE(shown->size(), platform::DialogUnitsToPixels(font, QSize(147, 185)));
            QCOMPARE(platform::FindControl(shown, 1014)->geometry(),
                     platform::DialogUnitsToPixels(font, QRect(55, 56, 24, 10)));
            QCOMPARE(platform::FindControl(shown, 1)->geometry(),
                     platform::DialogUnitsToPixels(font, QRect(19, 164, 50, 14)));
            QVERIFY(platform::FindControl<QPushButton>(shown, 1)->isDefault());
            // The tab stops, in order: OK, Cancel, then the four check boxes.
            QList<int> order;
            QWidget* w = platform::FindControl(shown, 1);
            for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
                while (!(w->focusPolicy() & Qt::TabFocus))
                    w = w->nextInFocusChain();
                order << platform::ControlId(w);
            }
            QCOMPARE(order, (QList<int>{1, 2, 1000, 1001, 1002, 1003}));
            static_cast<QDialog*>(shown)->reject();
        });
        QCOMPARE(dialog.DoModal(), platform::IDCANCEL);
    }

    void settingsDialogExchangesByNumber_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QList<int>>(
            "expected"); // bitrate, copyright, crc, original, private, channel
        QTest::newRow("untouched") << QList<int>{} << QList<int>{8, 0, 0, 0, 0, 2};
        QTest::newRow("96") << QList<int>{1014} << QList<int>{6, 0, 0, 0, 0, 2};
        QTest::newRow("192 and mono") << QList<int>{1018, 1024} << QList<int>{10, 0, 0, 0, 0, 0};
        QTest::newRow("crc") << QList<int>{1003} << QList<int>{8, 0, 1, 0, 0, 2};
        QTest::newRow("every flag")
            << QList<int>{1000, 1001, 1002, 1003} << QList<int>{8, 1, 1, 1, 1, 2};
        QTest::newRow("320 dual") << QList<int>{1021, 1025} << QList<int>{13, 0, 0, 0, 0, 1};
    }
    void settingsDialogExchangesByNumber() {
        QFETCH(QList<int>, clicks);
        QFETCH(QList<int>, expected);
        CEncoderSettingsDlg dialog;
        dialog.m_settings.bitrateIndex = 8;
        dialog.m_settings.channelIndex = 2;
        ModalDialogDriver driver;
        driver.expect([&](QWidget* shown) {
            for (int id : clicks)
                platform::FindControl<QAbstractButton>(shown, id)->click();
            platform::FindControl<QPushButton>(shown, 1)->click();
        });
        QCOMPARE(dialog.DoModal(), platform::IDOK);
        const EncoderSettings& s = dialog.m_settings;
        QCOMPARE((QList<int>{s.bitrateIndex, s.copyrightFlag, s.crcFlag, s.originalFlag,
                             s.privateFlag, s.channelIndex}),
                 expected);
    }

    void settingsDialogStartsEmpty() {
        CEncoderSettingsDlg dialog;
        ModalDialogDriver driver;
        driver.expect([](QWidget* shown) {
            for (QRadioButton* radio : shown->findChildren<QRadioButton*>())
                QVERIFY(!radio->isChecked());
            static_cast<QDialog*>(shown)->accept();
        });
        QCOMPARE(dialog.DoModal(), platform::IDOK);
        QCOMPARE(dialog.m_settings.bitrateIndex, -1);
        QCOMPARE(dialog.m_settings.channelIndex, -1);
    }

    void commandEncodesAtTheChosenSettings() {
        TestWindow window;
        window.show();
        ScriptedModals modals;
        ModalDialogDriver driver;
        UseLibrary(REAL_ENCODER);
        QVERIFY(fixtures::WriteCdWav("pick.wav", fixtures::StereoTone(1.0, 440, 440)));
        driver.expect([](QWidget* shown) {
            platform::FindControl<QAbstractButton>(shown, 1018)->click(); // 192
            platform::FindControl<QAbstractButton>(shown, 1003)->click(); // CRC
            platform::FindControl<QPushButton>(shown, 1)->click();
        });
        modals.answerFileDialog(QDir::current().filePath("pick.wav"));
        OnWavToMp3();
        QCOMPARE(driver.unexpected, QStringList{});
        QCOMPARE(modals.shown, QStringList{"Mp3 Encoding complete!"});
        QCOMPARE(int(modals.requests.size()), 1);
        const platform::FileDialogRequest& request = modals.requests.front();
        QCOMPARE(request.title, QString("Choose a wav file to encode to mp3"));
        QCOMPARE(request.filter, QString("Wav Files(*.wav)|*.wav|All Files(*.*)|*.*||"));
        QCOMPARE(request.defaultExt, QString(".wav"));
        QCOMPARE(request.initialName, QString());
        const fixtures::DecodedMp3 mp3 = fixtures::DecodeMp3("pick.mp3");
        QCOMPARE(mp3.bitrateKbps, 192);
        QVERIFY(mp3.everyFrameProtected);

        // The next run starts from the defaults again.
        driver.expect([](QWidget* shown) {
            QVERIFY(platform::FindControl<QRadioButton>(shown, 1016)->isChecked()); // 128
            QVERIFY(platform::FindControl<QRadioButton>(shown, 1026)->isChecked()); // Stereo
            QVERIFY(!platform::FindControl<QCheckBox>(shown, 1003)->isChecked());
            static_cast<QDialog*>(shown)->reject();
        });
        OnWavToMp3();
        QCOMPARE(driver.pending(), 0);
        QCOMPARE(int(modals.requests.size()), 1); // Cancel: no file dialog
    }

    void cancelInTheFileDialogLoadsNoLibrary() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        QVERIFY(QFile::copy(FAKE_planted, "planted-copy.so"));
        UseLibrary(QFile::encodeName(QDir::current().filePath("planted-copy.so")).constData());
        qputenv("VERBENO_PLANTED_MARK", QFile::encodeName(QDir::current().filePath("loaded")));
        driver.expect([](QWidget* shown) { static_cast<QDialog*>(shown)->accept(); });
        modals.answerFileDialog(std::nullopt);
        OnWavToMp3();
        QVERIFY(modals.shown.isEmpty());
        QVERIFY(!QFile::exists("loaded"));
    }

    void missingFileTypedInTheDialog() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        UseLibrary(FAKE_ok);
        driver.expect([](QWidget* shown) { static_cast<QDialog*>(shown)->accept(); });
        modals.answerFileDialog(QDir::current().filePath("typed-but-missing.wav"));
        OnWavToMp3();
        QCOMPARE(modals.shown, QStringList{kMissingInput});
    }

    void noSecondJobInsideARunningOne() {
        ScriptedModals modals;
        ModalDialogDriver driver;
        const platform::JobGuard running;
        OnWavToMp3(); // refused: no dialog at all
        QCOMPARE(driver.unexpected, QStringList{});
        QVERIFY(modals.requests.empty());
    }
};

VERBENO_TEST_MAIN(EncodingTest)
#include "test_encoding.moc"
