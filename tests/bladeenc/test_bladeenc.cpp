// The encoder library through its C interface, loaded the way the program loads it. Its output
// is walked frame by frame and decoded by libmpg123, an independent decoder: headers, duration,
// channel layout and the sound itself are checked, never the encoder's exact bytes.

#include "TestMain.h"

#include "platform/bladeenc/bladeenc.h"
#include "platform/ui/SharedLibrary.h"

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <numeric>
#include <vector>

Q_DECLARE_METATYPE(BE_CONFIG)

namespace {

using Pcm = std::vector<int16_t>; // interleaved left/right

struct EncoderApi {
    BEINITSTREAM init = nullptr;
    BEENCODECHUNK encode = nullptr;
    BEDEINITSTREAM deinit = nullptr;
    BECLOSESTREAM close = nullptr;
    BEVERSION version = nullptr;
};
EncoderApi be;

BE_CONFIG MakeConfig(uint8_t mode, uint16_t kbps, uint32_t rate = 44100) {
    BE_CONFIG config{};
    config.dwConfig = BE_CONFIG_MP3;
    config.format.mp3.dwSampleRate = rate;
    config.format.mp3.byMode = mode;
    config.format.mp3.wBitrate = kbps;
    return config;
}

// Two different sweeps, so that a swapped or shifted channel cannot pass for the right one and
// the encoder delay has a single best alignment.
Pcm Sweeps(int pairs, int rate, double leftAmp = 9000, double rightAmp = 6000) {
    Pcm pcm(static_cast<std::size_t>(pairs) * 2);
    const double seconds = double(pairs) / rate;
    double phaseL = 0, phaseR = 0;
    for (int i = 0; i < pairs; ++i) {
        const double t = double(i) / rate;
        const double fL = 300 + 1200 * t / seconds;  // rising
        const double fR = 2000 - 1400 * t / seconds; // falling
        phaseL += 2 * std::numbers::pi * fL / rate;
        phaseR += 2 * std::numbers::pi * fR / rate;
        pcm[2 * i] = int16_t(std::lround(leftAmp * std::sin(phaseL)));
        pcm[2 * i + 1] = int16_t(std::lround(rightAmp * std::sin(phaseR)));
    }
    return pcm;
}

Pcm Channel(const Pcm& pcm, int channel) {
    Pcm out(pcm.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = pcm[2 * i + channel];
    return out;
}

Pcm Downmix(const Pcm& pcm) {
    Pcm out(pcm.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t((pcm[2 * i] + pcm[2 * i + 1]) / 2);
    return out;
}

double Correlation(const int16_t* a, const int16_t* b, std::size_t n) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sa += a[i];
        sb += b[i];
        saa += double(a[i]) * a[i];
        sbb += double(b[i]) * b[i];
        sab += double(a[i]) * b[i];
    }
    const double cov = sab - sa * sb / n;
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    return va > 0 && vb > 0 ? cov / std::sqrt(va * vb) : 0;
}

double Energy(const Pcm& x) {
    return std::accumulate(x.begin(), x.end(), 0.0,
                           [](double s, int16_t v) { return s + double(v) * v; });
}

// How far the decoded signal lags the input (encoder plus decoder delay): the best match of a
// window from the middle of the input.
std::size_t FindLag(const Pcm& decoded, const Pcm& input) {
    constexpr std::size_t window = 4096, maxLag = 3000;
    const std::size_t start = input.size() / 3;
    std::size_t best = 0;
    double bestCorr = -2;
    for (std::size_t lag = 0; lag <= maxLag && start + lag + window <= decoded.size(); ++lag) {
        const double c = Correlation(decoded.data() + start + lag, input.data() + start, window);
        if (c > bestCorr) {
            bestCorr = c;
            best = lag;
        }
    }
    return best;
}

// The correlation of the decoded channel with what it should sound like, over the whole input.
double Similarity(const Pcm& decoded, const Pcm& expected) {
    const std::size_t lag = FindLag(decoded, expected);
    const std::size_t n = std::min(expected.size(), decoded.size() - lag);
    return Correlation(decoded.data() + lag, expected.data(), n);
}

// One stream's output, encoded in chunks of the given sizes (counts of 16-bit values; the
// library's own chunk size when empty), with every call's contract checked on the way.
void EncodeStream(const BE_CONFIG& config, const Pcm& pcm, QByteArray& mp3,
                  std::vector<uint32_t> chunks = {}) {
    BE_CONFIG copy = config;
    uint32_t samples = 0, bufferSize = 0;
    HBE_STREAM stream = 0;
    QCOMPARE(be.init(&copy, &samples, &bufferSize, &stream), BE_ERR_SUCCESS);
    QVERIFY(stream != 0);
    QVERIFY(samples > 0 && samples % 2 == 0);
    QVERIFY(bufferSize > 0);
    if (chunks.empty()) {
        for (std::size_t done = 0; done < pcm.size(); done += samples)
            chunks.push_back(uint32_t(std::min<std::size_t>(samples, pcm.size() - done)));
    }
    QCOMPARE(std::accumulate(chunks.begin(), chunks.end(), std::size_t{0}), pcm.size());
    std::vector<uint8_t> out(bufferSize);
    std::size_t done = 0;
    for (const uint32_t n : chunks) {
        QVERIFY(n <= samples);
        uint32_t bytes = bufferSize + 1;
        QCOMPARE(be.encode(stream, n, pcm.data() + done, out.data(), &bytes), BE_ERR_SUCCESS);
        QVERIFY(bytes <= bufferSize);
        mp3.append(reinterpret_cast<const char*>(out.data()), bytes);
        done += n;
    }
    uint32_t bytes = bufferSize + 1;
    QCOMPARE(be.deinit(stream, out.data(), &bytes), BE_ERR_SUCCESS);
    QVERIFY(bytes <= bufferSize);
    mp3.append(reinterpret_cast<const char*>(out.data()), bytes);
    QCOMPARE(be.close(stream), BE_ERR_SUCCESS);
}

struct FrameHeader {
    qsizetype offset;
    uint32_t bits;
};

// Walks the stream as MPEG-1 Layer III frames from byte 0 to the last byte: a tag, an Info
// frame's missing audio or any stray byte between frames shows up as a break.
void WalkFrames(const QByteArray& mp3, std::vector<FrameHeader>& frames) {
    static constexpr int kbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                     112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int rates[4] = {44100, 48000, 32000, 0};
    const auto* p = reinterpret_cast<const uint8_t*>(mp3.constData());
    qsizetype at = 0;
    while (at < mp3.size()) {
        QVERIFY2(at + 4 <= mp3.size(), qPrintable(QStringLiteral("truncated at %1").arg(at)));
        const uint32_t h = uint32_t(p[at]) << 24 | uint32_t(p[at + 1]) << 16 |
                           uint32_t(p[at + 2]) << 8 | p[at + 3];
        QVERIFY2((h >> 21) == 0x7FF, qPrintable(QStringLiteral("no frame sync at %1").arg(at)));
        QVERIFY2(((h >> 19) & 3) == 3, "not MPEG-1");
        QVERIFY2(((h >> 17) & 3) == 1, "not Layer III");
        const int rate = rates[(h >> 10) & 3], bitrate = kbps[(h >> 12) & 15];
        QVERIFY(rate != 0 && bitrate != 0);
        frames.push_back({at, h});
        at += 144 * bitrate * 1000 / rate + ((h >> 9) & 1);
    }
    QCOMPARE(at, mp3.size());
}

struct Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<mpg123_frameinfo2> info; // one per frame
    std::vector<unsigned long> headers;  // the header of each frame as the decoder saw it
    Pcm pcm;                             // interleaved when two channels
};

struct Mpg123Deleter {
    void operator()(mpg123_handle* h) const { mpg123_delete(h); }
};

void Decode(const QByteArray& mp3, Decoded& result) {
    int err = MPG123_OK;
    const std::unique_ptr<mpg123_handle, Mpg123Deleter> mh(mpg123_new(nullptr, &err));
    QVERIFY(mh);
    // No resync: the decoder must not skip junk on its own.
    QCOMPARE(mpg123_param(mh.get(), MPG123_FLAGS, MPG123_QUIET | MPG123_NO_RESYNC, 0), MPG123_OK);
    mpg123_format_none(mh.get());
    for (const long rate : {32000L, 44100L, 48000L})
        mpg123_format(mh.get(), rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    QCOMPARE(mpg123_open_feed(mh.get()), MPG123_OK);
    QCOMPARE(mpg123_feed(mh.get(), reinterpret_cast<const unsigned char*>(mp3.constData()),
                         std::size_t(mp3.size())),
             MPG123_OK);
    for (;;) {
        const int r = mpg123_framebyframe_next(mh.get());
        if (r == MPG123_NEED_MORE || r == MPG123_DONE)
            break;
        if (r == MPG123_NEW_FORMAT) {
            int encoding = 0;
            QCOMPARE(mpg123_getformat(mh.get(), &result.rate, &result.channels, &encoding),
                     MPG123_OK);
            QCOMPARE(encoding, int(MPG123_ENC_SIGNED_16));
        } else {
            QVERIFY2(r == MPG123_OK, mpg123_strerror(mh.get()));
        }
        mpg123_frameinfo2 info{};
        QCOMPARE(mpg123_info2(mh.get(), &info), MPG123_OK);
        result.info.push_back(info);
        unsigned long header = 0;
        QCOMPARE(mpg123_framedata(mh.get(), &header, nullptr, nullptr), MPG123_OK);
        result.headers.push_back(header);
        off_t num = 0;
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        QCOMPARE(mpg123_framebyframe_decode(mh.get(), &num, &audio, &bytes), MPG123_OK);
        const auto* s = reinterpret_cast<const int16_t*>(audio);
        result.pcm.insert(result.pcm.end(), s, s + bytes / sizeof(int16_t));
    }
}

// Walks and decodes, and checks what holds for every stream: only frames, each of them seen
// by the decoder, and the decoded length that the input's length allows.
void DecodeStream(const QByteArray& mp3, std::size_t inputPairs, Decoded& decoded) {
    std::vector<FrameHeader> frames;
    WalkFrames(mp3, frames);
    if (QTest::currentTestFailed())
        return;
    Decode(mp3, decoded);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(decoded.headers.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        QCOMPARE(decoded.headers[i], static_cast<unsigned long>(frames[i].bits));
    QVERIFY(decoded.channels == 1 || decoded.channels == 2);
    // Every frame decodes to 1152 samples per channel: the input, LAME's delay (576) and the
    // padding of the last frame, never more than two frames beyond.
    const std::size_t pairs = decoded.pcm.size() / std::size_t(decoded.channels);
    QCOMPARE(pairs, frames.size() * 1152);
    QVERIFY2(pairs >= inputPairs + 576 && pairs <= inputPairs + 576 + 2 * 1152,
             qPrintable(QStringLiteral("%1 decoded for %2 samples").arg(pairs).arg(inputPairs)));
    // An Info frame would be the first frame, its tag right after the side information.
    if (!frames.empty()) {
        const bool mono = ((frames[0].bits >> 6) & 3) == 3;
        const bool crc = ((frames[0].bits >> 16) & 1) == 0;
        const QByteArray tag = mp3.mid(4 + (crc ? 2 : 0) + (mono ? 17 : 32), 4);
        QVERIFY(tag != "Xing" && tag != "Info");
    }
}

} // namespace

class BladeEncTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const platform::SharedLibrary lib =
            platform::SharedLibrary::LoadFile(QStringLiteral(VERBENO_BLADEENC_PATH));
        QVERIFY2(lib.isLoaded(), qPrintable(lib.errorString()));
        be.init = reinterpret_cast<BEINITSTREAM>(lib.symbol("beInitStream"));
        be.encode = reinterpret_cast<BEENCODECHUNK>(lib.symbol("beEncodeChunk"));
        be.deinit = reinterpret_cast<BEDEINITSTREAM>(lib.symbol("beDeinitStream"));
        be.close = reinterpret_cast<BECLOSESTREAM>(lib.symbol("beCloseStream"));
        be.version = reinterpret_cast<BEVERSION>(lib.symbol("beVersion"));
        QVERIFY(be.init && be.encode && be.deinit && be.close && be.version);
        QCOMPARE(mpg123_init(), MPG123_OK);
    }

    void framesCarryTheConfiguredHeader_data() {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("kbps");
        QTest::addColumn<bool>("crc");
        QTest::addColumn<bool>("copyright");
        QTest::addColumn<bool>("original");
        QTest::addColumn<bool>("privateBit");
        for (const int kbps : {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320})
            QTest::addRow("stereo %d", kbps)
                << 44100 << BE_MP3_MODE_STEREO << kbps << false << false << false << false;
        QTest::newRow("joint stereo")
            << 44100 << BE_MP3_MODE_JSTEREO << 128 << false << false << false << false;
        QTest::newRow("dual channel")
            << 44100 << BE_MP3_MODE_DUALCHANNEL << 128 << false << false << false << false;
        QTest::newRow("mono 32") << 44100 << BE_MP3_MODE_MONO << 32 << false << false << false
                                 << false;
        QTest::newRow("mono 320") << 44100 << BE_MP3_MODE_MONO << 320 << false << false << false
                                  << false;
        QTest::newRow("crc") << 44100 << BE_MP3_MODE_STEREO << 128 << true << false << false
                             << false;
        QTest::newRow("crc mono") << 44100 << BE_MP3_MODE_MONO << 64 << true << false << false
                                  << false;
        QTest::newRow("copyright")
            << 44100 << BE_MP3_MODE_STEREO << 128 << false << true << false << false;
        QTest::newRow("original") << 44100 << BE_MP3_MODE_STEREO << 128 << false << false << true
                                  << false;
        QTest::newRow("private") << 44100 << BE_MP3_MODE_STEREO << 128 << false << false << false
                                 << true;
        QTest::newRow("all flags, dual 192")
            << 44100 << BE_MP3_MODE_DUALCHANNEL << 192 << true << true << true << true;
        // The largest frames for the fewest samples: the worst case for the output buffer.
        QTest::newRow("32000 Hz 320")
            << 32000 << BE_MP3_MODE_STEREO << 320 << false << false << false << false;
        QTest::newRow("48000 Hz 32")
            << 48000 << BE_MP3_MODE_JSTEREO << 32 << false << false << false << false;
    }
    void framesCarryTheConfiguredHeader() {
        QFETCH(int, rate);
        QFETCH(int, mode);
        QFETCH(int, kbps);
        QFETCH(bool, crc);
        QFETCH(bool, copyright);
        QFETCH(bool, original);
        QFETCH(bool, privateBit);
        BE_CONFIG config = MakeConfig(uint8_t(mode), uint16_t(kbps), uint32_t(rate));
        config.format.mp3.bCRC = crc;
        config.format.mp3.bCopyright = copyright;
        config.format.mp3.bOriginal = original;
        config.format.mp3.bPrivate = privateBit;
        // Any non-zero value of the interface's BOOL is true.
        if (copyright)
            config.format.mp3.bCopyright = -7;

        const int pairs = rate * 3 / 2;
        QByteArray mp3;
        EncodeStream(config, Sweeps(pairs, rate), mp3);
        if (QTest::currentTestFailed())
            return;
        Decoded decoded;
        DecodeStream(mp3, std::size_t(pairs), decoded);
        if (QTest::currentTestFailed())
            return;

        static constexpr int modes[] = {MPG123_M_STEREO, MPG123_M_JOINT, MPG123_M_DUAL,
                                        MPG123_M_MONO};
        const int flags = (crc ? MPG123_CRC : 0) | (copyright ? MPG123_COPYRIGHT : 0) |
                          (original ? MPG123_ORIGINAL : 0) | (privateBit ? MPG123_PRIVATE : 0);
        QVERIFY(!decoded.info.empty());
        for (std::size_t i = 0; i < decoded.info.size(); ++i) {
            const mpg123_frameinfo2& f = decoded.info[i];
            const QByteArray where = QByteArray::number(qulonglong(i));
            QVERIFY2(f.version == MPG123_1_0, where);
            QVERIFY2(f.layer == 3, where);
            QVERIFY2(f.rate == rate, where);
            QVERIFY2(f.bitrate == kbps, where);
            QVERIFY2(f.vbr == MPG123_CBR, where);
            QVERIFY2(f.mode == modes[mode], where);
            QVERIFY2(f.flags == flags, where);
            QVERIFY2(f.emphasis == 0, where);
        }
        QCOMPARE(decoded.rate, long(rate));
        QCOMPARE(decoded.channels, mode == BE_MP3_MODE_MONO ? 1 : 2);
    }

    void decodedSoundMatchesInput_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("kbps");
        QTest::newRow("stereo 128") << BE_MP3_MODE_STEREO << 128;
        QTest::newRow("stereo 32") << BE_MP3_MODE_STEREO << 32;
        QTest::newRow("joint stereo 128") << BE_MP3_MODE_JSTEREO << 128;
        QTest::newRow("dual channel 96") << BE_MP3_MODE_DUALCHANNEL << 96;
        QTest::newRow("mono 128") << BE_MP3_MODE_MONO << 128;
        QTest::newRow("mono 32") << BE_MP3_MODE_MONO << 32;
    }
    void decodedSoundMatchesInput() {
        QFETCH(int, mode);
        QFETCH(int, kbps);
        const int pairs = 44100 * 2;
        const Pcm input = Sweeps(pairs, 44100);
        QByteArray mp3;
        EncodeStream(MakeConfig(uint8_t(mode), uint16_t(kbps)), input, mp3);
        if (QTest::currentTestFailed())
            return;
        Decoded decoded;
        DecodeStream(mp3, std::size_t(pairs), decoded);
        if (QTest::currentTestFailed())
            return;

        if (mode == BE_MP3_MODE_MONO) {
            // One channel that sounds like both input channels together, not like either one.
            QCOMPARE(decoded.channels, 1);
            const double similarity = Similarity(decoded.pcm, Downmix(input));
            QVERIFY2(similarity > 0.95, qPrintable(QString::number(similarity)));
            const double ratio = Energy(decoded.pcm) / Energy(Downmix(input));
            QVERIFY2(ratio > 0.8 && ratio < 1.25, qPrintable(QString::number(ratio)));
        } else {
            QCOMPARE(decoded.channels, 2);
            for (const int ch : {0, 1}) {
                const double similarity = Similarity(Channel(decoded.pcm, ch), Channel(input, ch));
                QVERIFY2(similarity > 0.95,
                         qPrintable(QStringLiteral("channel %1: %2").arg(ch).arg(similarity)));
            }
        }
    }

    void twoStreamsAtOnce() {
        const Pcm inputA = Sweeps(44100 * 2, 44100);
        const Pcm inputB = Sweeps(44100 * 3 / 2, 44100, 4000, 12000);
        BE_CONFIG configA = MakeConfig(BE_MP3_MODE_STEREO, 160);
        BE_CONFIG configB = MakeConfig(BE_MP3_MODE_MONO, 64);
        uint32_t samplesA = 0, samplesB = 0, sizeA = 0, sizeB = 0;
        HBE_STREAM a = 0, b = 0;
        QCOMPARE(be.init(&configA, &samplesA, &sizeA, &a), BE_ERR_SUCCESS);
        QCOMPARE(be.init(&configB, &samplesB, &sizeB, &b), BE_ERR_SUCCESS);
        QVERIFY(a != 0 && b != 0 && a != b);

        QByteArray mp3A, mp3B;
        std::vector<uint8_t> outA(sizeA), outB(sizeB);
        std::size_t doneA = 0, doneB = 0;
        uint32_t bytes = 0;
        // Alternate calls; B is finished and closed while A still runs.
        while (doneA < inputA.size() || doneB < inputB.size()) {
            if (doneA < inputA.size()) {
                const auto n = uint32_t(std::min<std::size_t>(samplesA, inputA.size() - doneA));
                QCOMPARE(be.encode(a, n, inputA.data() + doneA, outA.data(), &bytes),
                         BE_ERR_SUCCESS);
                mp3A.append(reinterpret_cast<const char*>(outA.data()), bytes);
                doneA += n;
            }
            if (doneB < inputB.size()) {
                const auto n = uint32_t(std::min<std::size_t>(samplesB, inputB.size() - doneB));
                QCOMPARE(be.encode(b, n, inputB.data() + doneB, outB.data(), &bytes),
                         BE_ERR_SUCCESS);
                mp3B.append(reinterpret_cast<const char*>(outB.data()), bytes);
                doneB += n;
                if (doneB == inputB.size()) {
                    QCOMPARE(be.deinit(b, outB.data(), &bytes), BE_ERR_SUCCESS);
                    mp3B.append(reinterpret_cast<const char*>(outB.data()), bytes);
                    QCOMPARE(be.close(b), BE_ERR_SUCCESS);
                }
            }
        }
        QCOMPARE(be.deinit(a, outA.data(), &bytes), BE_ERR_SUCCESS);
        mp3A.append(reinterpret_cast<const char*>(outA.data()), bytes);
        QCOMPARE(be.close(a), BE_ERR_SUCCESS);

        Decoded decodedA, decodedB;
        DecodeStream(mp3A, inputA.size() / 2, decodedA);
        DecodeStream(mp3B, inputB.size() / 2, decodedB);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(decodedA.channels, 2);
        QCOMPARE(decodedA.info.front().bitrate, 160);
        QCOMPARE(decodedB.channels, 1);
        QCOMPARE(decodedB.info.front().bitrate, 64);
        QVERIFY(Similarity(Channel(decodedA.pcm, 0), Channel(inputA, 0)) > 0.95);
        QVERIFY(Similarity(Channel(decodedA.pcm, 1), Channel(inputA, 1)) > 0.95);
        QVERIFY(Similarity(decodedB.pcm, Downmix(inputB)) > 0.95);
    }

    // A lone 16-bit value at the end of a call waits for the next call, so the channels never
    // trade places; one left over at the end of the stream is dropped.
    void oddCountsKeepChannelOrder_data() {
        QTest::addColumn<int>("toneChannel");
        QTest::addColumn<std::vector<uint32_t>>("chunks");
        const std::vector<uint32_t> lastOdd{55296, 55296, 20001};
        const std::vector<uint32_t> firstOdd{1, 55295, 55296, 20001};
        const std::vector<uint32_t> mixed{12345, 20000, 55296, 3, 30001};
        QTest::newRow("left, last chunk odd") << 0 << lastOdd;
        QTest::newRow("right, last chunk odd") << 1 << lastOdd;
        QTest::newRow("left, first chunk a single value") << 0 << firstOdd;
        QTest::newRow("right, first chunk a single value") << 1 << firstOdd;
        QTest::newRow("left, odd and even chunks") << 0 << mixed;
        QTest::newRow("right, odd and even chunks") << 1 << mixed;
    }
    void oddCountsKeepChannelOrder() {
        QFETCH(int, toneChannel);
        QFETCH(std::vector<uint32_t>, chunks);
        const std::size_t values = std::accumulate(chunks.begin(), chunks.end(), std::size_t{0});
        Pcm input = Sweeps(int(values / 2 + 1), 44100);
        input.resize(values);
        for (std::size_t i = std::size_t(1 - toneChannel); i < values; i += 2)
            input[i] = 0;
        QByteArray mp3;
        EncodeStream(MakeConfig(BE_MP3_MODE_STEREO, 128), input, mp3, chunks);
        if (QTest::currentTestFailed())
            return;
        Decoded decoded;
        DecodeStream(mp3, values / 2, decoded);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(decoded.channels, 2);
        const Pcm tone = Channel(decoded.pcm, toneChannel);
        const Pcm silent = Channel(decoded.pcm, 1 - toneChannel);
        QVERIFY(Energy(tone) > 0);
        const double leak = Energy(silent) / Energy(tone);
        QVERIFY2(leak < 1e-4, qPrintable(QString::number(leak)));
        QVERIFY(Similarity(tone, Channel(input, toneChannel)) > 0.95);
    }

    void emptyStreamHoldsOnlyFrames() {
        QByteArray mp3;
        EncodeStream(MakeConfig(BE_MP3_MODE_STEREO, 128), Pcm{}, mp3);
        if (QTest::currentTestFailed())
            return;
        std::vector<FrameHeader> frames;
        WalkFrames(mp3, frames);
    }

    void badConfigRefused_data() {
        QTest::addColumn<BE_CONFIG>("config");
        QTest::addColumn<uint32_t>("expected");
        const BE_CONFIG good = MakeConfig(BE_MP3_MODE_STEREO, 128);
        const auto with = [&](auto change) {
            BE_CONFIG c = good;
            change(c);
            return c;
        };
        constexpr uint32_t params = BE_ERR_INVALID_FORMAT_PARAMETERS;
        QTest::newRow("dwConfig 1")
            << with([](BE_CONFIG& c) { c.dwConfig = 1; }) << BE_ERR_INVALID_FORMAT;
        QTest::newRow("dwConfig 256")
            << with([](BE_CONFIG& c) { c.dwConfig = 256; }) << BE_ERR_INVALID_FORMAT;
        for (const uint32_t rate : {0u, 8000u, 22050u, 44101u, 96000u})
            QTest::addRow("rate %u", unsigned(rate))
                << with([rate](BE_CONFIG& c) { c.format.mp3.dwSampleRate = rate; }) << params;
        for (const uint8_t mode : {uint8_t(4), uint8_t(255)})
            QTest::addRow("mode %u", unsigned(mode))
                << with([mode](BE_CONFIG& c) { c.format.mp3.byMode = mode; }) << params;
        for (const uint16_t kbps : {0, 8, 16, 33, 144, 330, 384, 448, 0xFFFF})
            QTest::addRow("bitrate %u", unsigned(kbps))
                << with([kbps](BE_CONFIG& c) { c.format.mp3.wBitrate = kbps; }) << params;
    }
    void badConfigRefused() {
        QFETCH(BE_CONFIG, config);
        QFETCH(uint32_t, expected);
        uint32_t samples = 7, bufferSize = 7;
        HBE_STREAM stream = 7;
        QCOMPARE(be.init(&config, &samples, &bufferSize, &stream), expected);
        QCOMPARE(stream, HBE_STREAM(7)); // nothing issued
    }

    void nullPointersToInitRefused() {
        BE_CONFIG config = MakeConfig(BE_MP3_MODE_STEREO, 128);
        uint32_t samples = 0, bufferSize = 0;
        HBE_STREAM stream = 0;
        QVERIFY(be.init(nullptr, &samples, &bufferSize, &stream) != BE_ERR_SUCCESS);
        QVERIFY(be.init(&config, nullptr, &bufferSize, &stream) != BE_ERR_SUCCESS);
        QVERIFY(be.init(&config, &samples, nullptr, &stream) != BE_ERR_SUCCESS);
        QVERIFY(be.init(&config, &samples, &bufferSize, nullptr) != BE_ERR_SUCCESS);
        QCOMPARE(stream, HBE_STREAM(0));
    }

    // Refused calls leave the stream as it was: what was encoded before and after still makes
    // one clean stream.
    void badEncodeCallsRefusedStreamGoesOn() {
        BE_CONFIG config = MakeConfig(BE_MP3_MODE_STEREO, 128);
        uint32_t samples = 0, bufferSize = 0;
        HBE_STREAM stream = 0;
        QCOMPARE(be.init(&config, &samples, &bufferSize, &stream), BE_ERR_SUCCESS);
        const Pcm input = Sweeps(int(samples), 44100); // two chunks' worth
        std::vector<uint8_t> out(bufferSize);
        QByteArray mp3;
        uint32_t bytes = 0;

        const Pcm tooMany(samples + 2);
        bytes = 99;
        QCOMPARE(be.encode(stream, samples + 1, tooMany.data(), out.data(), &bytes),
                 BE_ERR_BUFFER_TOO_SMALL);
        QCOMPARE(bytes, 0u);
        QVERIFY(be.encode(stream, samples, nullptr, out.data(), &bytes) != BE_ERR_SUCCESS);
        QVERIFY(be.encode(stream, samples, input.data(), nullptr, &bytes) != BE_ERR_SUCCESS);
        QVERIFY(be.encode(stream, samples, input.data(), out.data(), nullptr) != BE_ERR_SUCCESS);
        bytes = 99;
        QCOMPARE(be.encode(stream, 0, input.data(), out.data(), &bytes), BE_ERR_SUCCESS);
        QCOMPARE(bytes, 0u);

        for (const std::size_t at : {std::size_t{0}, std::size_t{samples}}) {
            QCOMPARE(be.encode(stream, samples, input.data() + at, out.data(), &bytes),
                     BE_ERR_SUCCESS);
            mp3.append(reinterpret_cast<const char*>(out.data()), bytes);
            QCOMPARE(be.encode(stream, samples + 1, tooMany.data(), out.data(), &bytes),
                     BE_ERR_BUFFER_TOO_SMALL);
        }
        QVERIFY(be.deinit(stream, nullptr, &bytes) != BE_ERR_SUCCESS);
        QVERIFY(be.deinit(stream, out.data(), nullptr) != BE_ERR_SUCCESS);
        QCOMPARE(be.deinit(stream, out.data(), &bytes), BE_ERR_SUCCESS);
        mp3.append(reinterpret_cast<const char*>(out.data()), bytes);
        QCOMPARE(be.close(stream), BE_ERR_SUCCESS);

        Decoded decoded;
        DecodeStream(mp3, input.size() / 2, decoded);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(Similarity(Channel(decoded.pcm, 0), Channel(input, 0)) > 0.95);
    }

    void finishedStreamOnlyCloses() {
        BE_CONFIG config = MakeConfig(BE_MP3_MODE_JSTEREO, 128);
        uint32_t samples = 0, bufferSize = 0;
        HBE_STREAM stream = 0;
        QCOMPARE(be.init(&config, &samples, &bufferSize, &stream), BE_ERR_SUCCESS);
        const Pcm input = Sweeps(4410, 44100);
        std::vector<uint8_t> out(bufferSize);
        uint32_t bytes = 0;
        QCOMPARE(be.encode(stream, uint32_t(input.size()), input.data(), out.data(), &bytes),
                 BE_ERR_SUCCESS);
        QCOMPARE(be.deinit(stream, out.data(), &bytes), BE_ERR_SUCCESS);
        bytes = 99;
        QVERIFY(be.encode(stream, uint32_t(input.size()), input.data(), out.data(), &bytes) !=
                BE_ERR_SUCCESS);
        QCOMPARE(bytes, 0u);
        QVERIFY(be.deinit(stream, out.data(), &bytes) != BE_ERR_SUCCESS);
        QCOMPARE(be.close(stream), BE_ERR_SUCCESS);
    }

    void invalidHandlesRefused_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("zero") << 0;
        QTest::newRow("closed") << 1;
        QTest::newRow("never issued") << 2;
        QTest::newRow("all ones") << 3;
    }
    void invalidHandlesRefused() {
        QFETCH(int, kind);
        BE_CONFIG config = MakeConfig(BE_MP3_MODE_STEREO, 128);
        uint32_t samples = 0, bufferSize = 0;
        HBE_STREAM live = 0;
        QCOMPARE(be.init(&config, &samples, &bufferSize, &live), BE_ERR_SUCCESS);
        HBE_STREAM handle = 0;
        switch (kind) {
        case 1:
            QCOMPARE(be.init(&config, &samples, &bufferSize, &handle), BE_ERR_SUCCESS);
            QCOMPARE(be.close(handle), BE_ERR_SUCCESS);
            break;
        case 2:
            handle = live + 1000;
            break;
        case 3:
            handle = 0xFFFFFFFFu;
            break;
        }
        QVERIFY(handle != live);
        const Pcm input = Sweeps(1152, 44100);
        std::vector<uint8_t> out(bufferSize);
        uint32_t bytes = 99;
        QCOMPARE(be.encode(handle, uint32_t(input.size()), input.data(), out.data(), &bytes),
                 BE_ERR_INVALID_HANDLE);
        QCOMPARE(bytes, 0u);
        QCOMPARE(be.deinit(handle, out.data(), &bytes), BE_ERR_INVALID_HANDLE);
        QCOMPARE(be.close(handle), BE_ERR_INVALID_HANDLE);
        // The live stream is not disturbed by any of it.
        QCOMPARE(be.encode(live, uint32_t(input.size()), input.data(), out.data(), &bytes),
                 BE_ERR_SUCCESS);
        QCOMPARE(be.deinit(live, out.data(), &bytes), BE_ERR_SUCCESS);
        QCOMPARE(be.close(live), BE_ERR_SUCCESS);
    }

    // Streams that are never closed use up the handles, and closing one makes room again.
    void handlesRunOutAndComeBack() {
        BE_CONFIG config = MakeConfig(BE_MP3_MODE_STEREO, 128);
        uint32_t samples = 0, bufferSize = 0;
        std::vector<HBE_STREAM> open;
        HBE_STREAM stream = 0;
        BE_ERR err = BE_ERR_SUCCESS;
        while (open.size() < 10000 &&
               (err = be.init(&config, &samples, &bufferSize, &stream)) == BE_ERR_SUCCESS)
            open.push_back(stream);
        const bool ranOut = err == BE_ERR_NO_MORE_HANDLES;
        QVERIFY(!open.empty());
        QVERIFY(be.close(open.back()) == BE_ERR_SUCCESS);
        open.pop_back();
        const BE_ERR again = be.init(&config, &samples, &bufferSize, &stream);
        if (again == BE_ERR_SUCCESS)
            open.push_back(stream);
        for (const HBE_STREAM h : open)
            QCOMPARE(be.close(h), BE_ERR_SUCCESS);
        QVERIFY(ranOut);
        QCOMPARE(again, BE_ERR_SUCCESS);
    }

    void versionFilled() {
        be.version(nullptr); // does nothing
        BE_VERSION v;
        std::memset(&v, 0xAA, sizeof v);
        be.version(&v);
        QVERIFY(std::memchr(v.zHomepage, 0, sizeof v.zHomepage) != nullptr);
        QVERIFY(v.byDLLMajorVersion >= 1);
        QVERIFY(v.byMajorVersion >= 3); // LAME 3 or later
        QVERIFY(v.byMonth >= 1 && v.byMonth <= 12);
        QVERIFY(v.byDay >= 1 && v.byDay <= 31);
        QVERIFY(v.wYear >= 2024);
    }
};

VERBENO_TEST_MAIN(BladeEncTest)
#include "test_bladeenc.moc"
