// Ripping one track into a WAV file: reads of 26 frames with up to three attempts each, the
// audio written unchanged behind a header that is rewritten at the end with what reached the
// file.

#include "cd/TrackListDlg.h"

#include "cd/CdLibrary.h"
#include "cd/WavHeader.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/MessagePump.h"
#include "progress/CProgressBar.h"

#include <QFile>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kFrameBytes = 2352;
constexpr std::uint32_t kChunkFrames = 26;
constexpr int kAttempts = 3;

struct FileCloser {
    void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using Stream = std::unique_ptr<std::FILE, FileCloser>;

// What the file holds behind its header, whatever the stream had buffered.
std::uint32_t DataBytesOnDisk(std::FILE* stream) {
    struct stat info {};
    if (::fstat(fileno(stream), &info) != 0 || info.st_size < 44)
        return 0;
    return static_cast<std::uint32_t>(info.st_size - 44);
}

} // namespace

void CTrackListDlg::TrackBufferDeleter::operator()(TRACKBUF* buffer) const {
    std::free(buffer);
}

CTrackListDlg::TrackBuffer CTrackListDlg::AllocTrackBuffer(std::uint32_t frames) {
    const std::size_t dataBytes = std::size_t(frames) * kFrameBytes;
    TrackBuffer buffer(static_cast<TRACKBUF*>(std::calloc(1, TRACKBUFHEADER + dataBytes)));
    if (buffer)
        buffer->maxLen = static_cast<std::uint32_t>(dataBytes);
    return buffer;
}

void CTrackListDlg::RipTrackToWav(HCDROM handle, std::uint32_t start, std::uint32_t length,
                                  QString fileName) {
    const QString announcement =
        QStringLiteral("Ripping ") + fileName.section(QLatin1Char('.'), 0, 0);
    const TrackBuffer buffer = AllocTrackBuffer(kChunkFrames);
    if (!buffer)
        return;

    // An output that cannot be made is reported once, and the disc is not read for it.
    Stream stream(std::fopen(QFile::encodeName(fileName).constData(), "w+b"));
    if (!stream) {
        platform::ShowMessageBox(QStringLiteral("Error creating output wav file %1").arg(fileName));
        return;
    }
    // Every chunk is one write of its own, straight from the track buffer: no copy through a
    // stream buffer, and a failure shows at the chunk that caused it.
    std::setvbuf(stream.get(), nullptr, _IONBF, 0);
    const QString writeFailed = QStringLiteral("Error writing output wav file %1").arg(fileName);
    bool writeFailedShown = false;
    bool writing = WriteWavHeader(stream.get(), 0);

    platform::ShowMessageBox(announcement);
    CProgressBar progress;
    progress.Create(QStringLiteral("Ripping ... "), 40, 2000, false, 0);
    progress.StepIt();

    const CdLibraryCalls& cd = CdLibrary();
    std::uint32_t dataBytes = 0;
    std::uint32_t frame = start;
    std::uint32_t remaining = length;
    std::uint32_t chunkFrames = kChunkFrames;
    while (writing && remaining > 0) {
        platform::PumpMessages();
        if (remaining < chunkFrames)
            chunkFrames = remaining;

        std::uint32_t result = 0;
        for (int attempt = 0; attempt < kAttempts && result != SS_COMP; ++attempt) {
            buffer->startFrame = frame;
            buffer->numFrames = chunkFrames;
            buffer->len = 0;
            buffer->startOffset = 0;
            result = cd.readCdAudioLba(handle, buffer.get());
            progress.StepIt();
        }
        // A library that claims more than its buffer holds is a failed read, not an overrun.
        const bool delivered = result == SS_COMP && buffer->startOffset <= buffer->maxLen &&
                               buffer->len <= buffer->maxLen - buffer->startOffset;
        if (delivered) {
            const std::size_t written =
                std::fwrite(buffer->buf + buffer->startOffset, 1, buffer->len, stream.get());
            if (written != buffer->len) {
                writing = false;
                dataBytes = DataBytesOnDisk(stream.get());
            } else {
                dataBytes += buffer->len;
            }
        } else {
            platform::ShowMessageBox(
                QStringLiteral("Error reading the CD at frame %1 (%2 frames) for %3: status %4")
                    .arg(frame)
                    .arg(chunkFrames)
                    .arg(fileName)
                    .arg(int(cd.getAspiLibAspiError())));
        }
        frame += chunkFrames;
        remaining -= chunkFrames;
    }
    if (!writing) {
        platform::ShowMessageBox(writeFailed);
        writeFailedShown = true;
    }

    // The header counts only what reached the file, so the file stays a valid WAV file. After
    // a failed write the stream's position cannot be trusted, so the header goes straight to
    // the file.
    bool headerWritten;
    if (writing) {
        headerWritten = WriteWavHeader(stream.get(), dataBytes);
    } else {
        const auto header = MakeWavHeader(dataBytes);
        headerWritten = ::pwrite(fileno(stream.get()), header.data(), header.size(), 0) ==
                        static_cast<ssize_t>(header.size());
    }
    const bool closed = std::fclose(stream.release()) == 0;
    if ((!headerWritten || !closed) && !writeFailedShown)
        platform::ShowMessageBox(writeFailed);
}
