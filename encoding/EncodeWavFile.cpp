#include "encoding/EncodeWavFile.h"

#include "encoding/EncoderLibrary.h"
#include "encoding/OutputName.h"
#include "encoding/WavFormat.h"
#include "platform/io/File.h"
#include "platform/ui/JobGuard.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/MessagePump.h"
#include "progress/CProgressBar.h"

#include <memory>
#include <new>
#include <optional>

namespace {

const QString kOpenInputFailed = QStringLiteral("Error opening input wav file");
const QString kCreateOutputFailed = QStringLiteral("Error creating output mp3 file");
const QString kInitFailed = QStringLiteral("Error opening encoding stream");
const QString kOutOfMemory = QStringLiteral("Out of memory");
const QString kReadFailed = QStringLiteral("Read error");
const QString kEncodeFailed = QStringLiteral("beEncodeChunk() failed");
const QString kWriteFailed = QStringLiteral("Write error");
const QString kDeinitFailed = QStringLiteral("beExitStream failed");

// One run of the job. Members are destroyed in reverse order: the progress bar goes before the
// buffers, and both only after the caller has shown its message.
class EncodingJob {
public:
    EncodingJob(const QString& inputPath, const EncoderSettings& settings)
        : m_inputPath(inputPath), m_settings(settings), m_encoder(TheEncoderLibrary()) {}

    // Runs every step up to the finished stream; the message of the failure, or nothing.
    std::optional<QString> Run();
    // Closes the stream, the input and then the output; false when the output's close failed.
    bool CloseStreamAndFiles();

private:
    std::optional<QString> OpenFiles();
    std::optional<QString> EncodeChunks();
    std::optional<QString> FinishStream();

    const QString m_inputPath;
    const EncoderSettings m_settings;
    const EncoderLibrary& m_encoder;

    platform::File m_input;
    platform::File m_output;
    HBE_STREAM m_stream = 0;
    bool m_streamOpen = false;
    std::uint32_t m_samplesPerChunk = 0; // S, in 16-bit values
    std::uint32_t m_outputSize = 0;      // B, in bytes
    std::unique_ptr<std::uint8_t[]> m_outputBuffer;
    std::unique_ptr<std::int16_t[]> m_sampleBuffer;
    std::optional<CProgressBar> m_progress;
};

std::optional<QString> EncodingJob::OpenFiles() {
    m_input = platform::File::OpenForReading(m_inputPath);
    if (!m_input.isOpen())
        return kOpenInputFailed;
    const WavFormatVerdict format =
        CheckWavFormat([this](std::uint64_t offset, void* buffer, std::size_t size) {
            return m_input.readAt(offset, buffer, size);
        });
    if (format.readFailed)
        return kReadFailed;
    if (format.refusal)
        return format.refusal;

    // Creating the output empties it, so it must never be the input under any name.
    const QString outputPath = Mp3OutputName(m_inputPath);
    if (outputPath == m_inputPath || m_input.isSameFileAs(outputPath))
        return kCreateOutputFailed;
    m_output = platform::File::CreateOrTruncate(outputPath);
    if (!m_output.isOpen())
        return kCreateOutputFailed;
    return std::nullopt;
}

std::optional<QString> EncodingJob::Run() {
    if (std::optional<QString> failure = OpenFiles())
        return failure;

    // Without a bound library there is no stream to open (and nothing to call).
    if (!m_encoder.beInitStream || !m_encoder.beEncodeChunk || !m_encoder.beDeinitStream ||
        !m_encoder.beCloseStream)
        return kInitFailed;
    BE_CONFIG config = MakeEncoderConfig(m_settings);
    if (m_encoder.beInitStream(&config, &m_samplesPerChunk, &m_outputSize, &m_stream) != 0)
        return kInitFailed;
    m_streamOpen = true;
    // A stream that takes no samples per chunk would never get through the file.
    if (m_samplesPerChunk == 0)
        return kInitFailed;

    m_outputBuffer.reset(new (std::nothrow) std::uint8_t[m_outputSize]);
    m_sampleBuffer.reset(new (std::nothrow) std::int16_t[m_samplesPerChunk]);
    if (!m_outputBuffer || !m_sampleBuffer)
        return kOutOfMemory;

    if (std::optional<QString> failure = EncodeChunks())
        return failure;
    return FinishStream();
}

std::optional<QString> EncodingJob::EncodeChunks() {
    const std::optional<std::uint64_t> length = m_input.length();
    if (!length)
        return kReadFailed;
    const std::uint64_t total = *length;
    const std::uint64_t fullChunk = 2ull * m_samplesPerChunk;

    m_progress.emplace();
    m_progress->Create(QStringLiteral("Encoding ... "), 40, 2000, false, 0);
    m_progress->StepIt();

    std::uint64_t consumed = 0;
    while (consumed < total) {
        platform::PumpMessages();
        const std::uint64_t chunk = consumed + fullChunk >= total ? total - consumed : fullChunk;
        // A file that shrank under the job gives a short read: never encode stale bytes.
        const std::int64_t got = m_input.read(m_sampleBuffer.get(), chunk);
        if (got < 0 || static_cast<std::uint64_t>(got) != chunk)
            return kReadFailed;

        std::uint32_t produced = 0;
        if (m_encoder.beEncodeChunk(m_stream, static_cast<std::uint32_t>(chunk / 2),
                                    m_sampleBuffer.get(), m_outputBuffer.get(), &produced) != 0 ||
            produced > m_outputSize)
            return kEncodeFailed;
        if (produced > 0 && !m_output.writeAll(m_outputBuffer.get(), produced))
            return kWriteFailed;

        m_progress->StepIt();
        consumed += chunk;
        const auto percent = static_cast<int>(consumed * 100 / total);
        m_progress->SetMessage(QString::asprintf("Encoding...%2d%%", percent));
    }
    return std::nullopt;
}

std::optional<QString> EncodingJob::FinishStream() {
    std::uint32_t produced = 0;
    if (m_encoder.beDeinitStream(m_stream, m_outputBuffer.get(), &produced) != 0 ||
        produced > m_outputSize)
        return kDeinitFailed;
    if (produced > 0 && !m_output.writeAll(m_outputBuffer.get(), produced))
        return kWriteFailed;
    return std::nullopt;
}

bool EncodingJob::CloseStreamAndFiles() {
    if (m_streamOpen) {
        m_encoder.beCloseStream(m_stream);
        m_streamOpen = false;
    }
    m_input.close();
    return m_output.close();
}

} // namespace

bool EncodeWavFile(const QString& inputPath, const EncoderSettings& settings,
                   bool announceCompletion) {
    const platform::JobGuard running;
    EncodingJob job(inputPath, settings);
    std::optional<QString> failure = job.Run();
    // The output is closed before any box, so what the box reports is what is on disk; a
    // close that fails may have lost data and is a write error, not a success.
    if (!job.CloseStreamAndFiles() && !failure)
        failure = kWriteFailed;
    if (failure) {
        platform::ShowMessageBox(*failure); // the progress bar is still up meanwhile
        return false;
    }
    if (announceCompletion)
        platform::ShowMessageBox(QStringLiteral("Mp3 Encoding complete!"));
    return true;
}
