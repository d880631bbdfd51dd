// The CD library on libcdio. Drives are what VERBENO_CD_DEVICE names (a device or a disc
// image) or else the CD drives libcdio finds; handles are numbers into a table of open drives,
// so a stale or made-up handle is refused rather than followed.

#include "platform/akrip/akrip.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/mmc.h>
#include <cdio/mmc_ll_cmds.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

static_assert(sizeof(GETCDHAND) == 12);
static_assert(sizeof(TOCTRACK) == 8);
static_assert(sizeof(TOC) == 4 + 8 * MAXTOCTRACKS);
static_assert(sizeof(TRACKBUF) == TRACKBUFHEADER);

namespace {

constexpr std::uint32_t kFrameBytes = CDIO_CD_FRAMESIZE_RAW; // 2352
constexpr std::uint32_t kFramesPerRead = 75; // a second per request keeps drive transfers small
constexpr std::uint8_t kAdrQPosition = 0x10; // address type 1 in the high nibble
constexpr std::uint8_t kControlPreEmphasis = 0x01;
constexpr std::uint8_t kControlCopyPermitted = 0x02;
constexpr std::uint8_t kControlData = 0x04;
constexpr std::uint8_t kControlFourChannel = 0x08;

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioPtr = std::unique_ptr<CdIo_t, CdioCloser>;

struct OpenDrive {
    CdioPtr cdio;
    bool msf = true; // TOC addresses as (0, M, S, F) until ModifyCDParms switches to LBA
};

struct Library {
    std::mutex mutex;
    bool listed = false;
    std::vector<std::string> drives; // as GetCDList last reported them; ha indexes this
    std::map<HCDROM, OpenDrive> open;
    HCDROM next = 1;
    std::atomic<std::uint8_t> lastError{SS_PENDING};
};

Library& Lib() {
    static Library library;
    return library;
}

cdio_log_handler_t g_previousLog = nullptr;

// libcdio reports every unreadable name and every refused read on the console; the program
// reports failures itself, so only libcdio's own assertions get through.
void QuietLog(cdio_log_level_t level, const char* message) {
    if (level >= CDIO_LOG_ASSERT && g_previousLog)
        g_previousLog(level, message);
}

// Every entry point starts here: quiet logging once, then the library's lock.
std::unique_lock<std::mutex> Enter() {
    static std::once_flag once;
    std::call_once(once, [] { g_previousLog = cdio_log_set_handler(QuietLog); });
    return std::unique_lock<std::mutex>(Lib().mutex);
}

std::uint8_t Fail(std::uint8_t status) {
    Lib().lastError = status;
    return status;
}

OpenDrive* Find(HCDROM cd) {
    auto& open = Lib().open;
    const auto it = open.find(cd);
    return it == open.end() ? nullptr : &it->second;
}

std::vector<std::string> FindDrives() {
    const char* named = std::getenv("VERBENO_CD_DEVICE");
    if (named && *named)
        return {named};
    std::vector<std::string> drives;
    // Hardware only: the image drivers would list every .cue of the current directory.
    if (char** devices = cdio_get_devices(DRIVER_DEVICE)) {
        for (char** d = devices; *d; ++d)
            if (**d)
                drives.emplace_back(*d);
        cdio_free_device_list(devices);
    }
    return drives;
}

bool EndsWith(const std::string& name, const char* ext) {
    const std::size_t n = std::strlen(ext);
    if (name.size() < n)
        return false;
    return std::equal(
        name.end() - static_cast<std::ptrdiff_t>(n), name.end(), ext,
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

CdIo_t* OpenSource(const std::string& name) {
    // Images go straight to their driver; anything else goes through libcdio's own search,
    // which tries the device drivers first.
    driver_id_t driver = DRIVER_UNKNOWN;
    if (EndsWith(name, ".cue") || EndsWith(name, ".bin"))
        driver = DRIVER_BINCUE;
    else if (EndsWith(name, ".toc"))
        driver = DRIVER_CDRDAO;
    else if (EndsWith(name, ".nrg"))
        driver = DRIVER_NRG;
    return cdio_open(name.c_str(), driver);
}

void PutBigEndian32(std::uint8_t* out, std::uint32_t v) {
    out[0] = static_cast<std::uint8_t>(v >> 24);
    out[1] = static_cast<std::uint8_t>(v >> 16);
    out[2] = static_cast<std::uint8_t>(v >> 8);
    out[3] = static_cast<std::uint8_t>(v);
}

// A TOC address: the LSN itself, or its minute, second and frame with the 2-second offset
// of the disc's first track (LSN 0 = 00:02:00).
void PutAddress(std::uint8_t* out, lsn_t lsn, bool msf) {
    if (!msf) {
        PutBigEndian32(out, static_cast<std::uint32_t>(lsn));
        return;
    }
    // Addresses before 00:00:00 wrap to the top of the MSF range, as drives report them.
    const std::int64_t address =
        lsn >= -CDIO_PREGAP_SECTORS ? std::int64_t{lsn} + CDIO_PREGAP_SECTORS : lsn + 450150;
    const auto a = static_cast<std::uint32_t>(address);
    out[0] = 0;
    out[1] = static_cast<std::uint8_t>(a / (60 * CDIO_CD_FRAMES_PER_SEC));
    out[2] = static_cast<std::uint8_t>(a / CDIO_CD_FRAMES_PER_SEC % 60);
    out[3] = static_cast<std::uint8_t>(a % CDIO_CD_FRAMES_PER_SEC);
}

std::uint8_t Control(const CdIo_t* cdio, track_t track, track_format_t format) {
    std::uint8_t control = 0;
    if (cdio_get_track_copy_permit(cdio, track) == CDIO_TRACK_FLAG_TRUE)
        control |= kControlCopyPermitted;
    if (format != TRACK_FORMAT_AUDIO)
        return control | kControlData;
    // Pre-emphasis and four channels mean something only for audio.
    if (cdio_get_track_preemphasis(cdio, track) == CDIO_TRACK_FLAG_TRUE)
        control |= kControlPreEmphasis;
    if (cdio_get_track_channels(cdio, track) == 4)
        control |= kControlFourChannel;
    return control;
}

std::uint32_t FillToc(const OpenDrive& drive, TOC* toc) {
    std::memset(toc, 0, sizeof *toc);
    const CdIo_t* cdio = drive.cdio.get();
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || first == 0 || first > last ||
        last > CDIO_CD_MAX_TRACKS)
        return Fail(SS_ERR);

    int pos = 0;
    std::uint8_t lastControl = 0;
    for (int t = first; t <= last; ++t, ++pos) {
        const auto track = static_cast<track_t>(t);
        const lsn_t lsn = cdio_get_track_lsn(cdio, track);
        const track_format_t format = cdio_get_track_format(cdio, track);
        if (lsn == CDIO_INVALID_LSN || format == TRACK_FORMAT_ERROR)
            return Fail(SS_ERR);
        lastControl = Control(cdio, track, format);
        TOCTRACK& d = toc->tracks[pos];
        d.ADR = kAdrQPosition | lastControl;
        d.trackNumber = track;
        PutAddress(d.addr, lsn, drive.msf);
    }
    const lsn_t leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (leadOut == CDIO_INVALID_LSN)
        return Fail(SS_ERR);
    // The lead-out carries the control bits of the track before it, as drives report it.
    TOCTRACK& d = toc->tracks[pos];
    d.ADR = kAdrQPosition | lastControl;
    d.trackNumber = CDIO_CDROM_LEADOUT_TRACK;
    PutAddress(d.addr, leadOut, drive.msf);

    const auto length = static_cast<std::uint16_t>(2 + sizeof(TOCTRACK) * (pos + 1));
    toc->tocLen[0] = static_cast<std::uint8_t>(length >> 8);
    toc->tocLen[1] = static_cast<std::uint8_t>(length);
    toc->firstTrack = first;
    toc->lastTrack = last;
    return SS_COMP;
}

// Raw 2352-byte sectors whatever the track holds. The audio read gives them on images for
// every track; a real drive refuses it on data sectors, where a raw READ CD of any sector type
// (sync, headers, user data, EDC/ECC) gives the same 2352 bytes.
bool ReadRaw(const CdIo_t* cdio, std::uint8_t* out, lsn_t lsn, std::uint32_t frames) {
    while (frames > 0) {
        const std::uint32_t n = std::min(frames, kFramesPerRead);
        if (cdio_read_audio_sectors(cdio, out, lsn, n) != DRIVER_OP_SUCCESS &&
            mmc_read_cd(cdio, out, lsn, CDIO_MMC_READ_TYPE_ANY, false, true, 3, true, true, 0, 0,
                        kFrameBytes, n) != DRIVER_OP_SUCCESS)
            return false;
        out += std::size_t{n} * kFrameBytes;
        lsn += static_cast<lsn_t>(n);
        frames -= n;
    }
    return true;
}

std::uint32_t ReadFrames(OpenDrive& drive, TRACKBUF* buffer) {
    const std::uint32_t start = buffer->startFrame;
    const std::uint32_t frames = buffer->numFrames;
    const std::uint64_t bytes = std::uint64_t{frames} * kFrameBytes;
    if (bytes > buffer->maxLen)
        return Fail(SS_INVALID_CMD);
    // libcdio shortens a read that runs past the lead-out and still reports success, leaving
    // the rest of the buffer as it was: such a read is refused here, whole.
    const lsn_t leadOut = cdio_get_track_lsn(drive.cdio.get(), CDIO_CDROM_LEADOUT_TRACK);
    if (leadOut == CDIO_INVALID_LSN || leadOut < 0 ||
        std::uint64_t{start} + frames > static_cast<std::uint64_t>(leadOut))
        return Fail(SS_ERR);
    if (frames > 0 && !ReadRaw(drive.cdio.get(), buffer->buf, static_cast<lsn_t>(start), frames))
        return Fail(SS_ERR);
    buffer->len = static_cast<std::uint32_t>(bytes);
    return SS_COMP;
}

} // namespace

// No exception may leave these: each entry point turns one into a failure status.

extern "C" AKRIP_API int GetCDList(CDLIST* list) {
    if (!list) {
        Fail(SS_INVALID_CMD);
        return 0;
    }
    try {
        const auto lock = Enter();
        Library& lib = Lib();
        const std::size_t capacity =
            list->max == 0 ? MAXCDLIST : std::min<std::size_t>(list->max, MAXCDLIST);
        std::vector<std::string> drives = FindDrives();
        if (drives.size() > capacity)
            drives.resize(capacity);
        std::memset(list->cd, 0, sizeof(CDREC) * capacity);
        for (std::size_t i = 0; i < drives.size(); ++i) {
            CDREC& rec = list->cd[i];
            rec.ha = static_cast<std::uint8_t>(i);
            // The record keeps what fits; the full name stays here for GetCDHandle.
            std::size_t n = std::min<std::size_t>(drives[i].size(), MAXIDLEN);
            while (n < drives[i].size() && n > 0 &&
                   (static_cast<unsigned char>(drives[i][n]) & 0xc0) == 0x80)
                --n; // never cut a UTF-8 character in two
            std::memcpy(rec.id, drives[i].data(), n);
        }
        list->num = static_cast<std::uint8_t>(drives.size());
        lib.drives = std::move(drives);
        lib.listed = true;
        return list->num;
    } catch (...) {
        list->num = 0;
        Fail(SS_ERR);
        return 0;
    }
}

extern "C" AKRIP_API HCDROM GetCDHandle(GETCDHAND* request) {
    try {
        const auto lock = Enter();
        if (!request || request->size != sizeof(GETCDHAND)) {
            Fail(SS_INVALID_CMD);
            return 0;
        }
        Library& lib = Lib();
        if (!lib.listed) {
            lib.drives = FindDrives();
            if (lib.drives.size() > MAXCDLIST)
                lib.drives.resize(MAXCDLIST);
            lib.listed = true;
        }
        if (request->ha >= lib.drives.size()) {
            Fail(SS_INVALID_HA);
            return 0;
        }
        if (request->tgt != 0 || request->lun != 0) {
            Fail(SS_NO_DEVICE);
            return 0;
        }
        CdioPtr cdio(OpenSource(lib.drives[request->ha]));
        if (!cdio) {
            Fail(SS_NO_DEVICE);
            return 0;
        }
        // Handle numbers are not reused while the counter lasts, so a closed handle stays
        // refused even after other drives are opened.
        while (lib.next == 0 || lib.open.count(lib.next))
            ++lib.next;
        const HCDROM handle = lib.next++;
        lib.open.emplace(handle, OpenDrive{std::move(cdio), true});
        return handle;
    } catch (...) {
        Fail(SS_ERR);
        return 0;
    }
}

extern "C" AKRIP_API int ModifyCDParms(HCDROM cd, int which, std::uint32_t value) {
    try {
        const auto lock = Enter();
        OpenDrive* drive = Find(cd);
        if (!drive) {
            Fail(SS_NO_DEVICE);
            return 0;
        }
        if (which != CDP_MSF) {
            Fail(SS_INVALID_CMD);
            return 0;
        }
        drive->msf = value != 0;
        return 1;
    } catch (...) {
        Fail(SS_ERR);
        return 0;
    }
}

extern "C" AKRIP_API std::uint32_t ReadTOC(HCDROM cd, TOC* toc) {
    try {
        const auto lock = Enter();
        if (!toc)
            return Fail(SS_INVALID_CMD);
        const OpenDrive* drive = Find(cd);
        if (!drive)
            return Fail(SS_NO_DEVICE);
        return FillToc(*drive, toc);
    } catch (...) {
        return Fail(SS_ERR);
    }
}

extern "C" AKRIP_API std::uint32_t ReadCDAudioLBA(HCDROM cd, TRACKBUF* buffer) {
    if (!buffer)
        return Fail(SS_INVALID_CMD);
    try {
        const auto lock = Enter();
        buffer->len = 0;
        buffer->startOffset = 0;
        OpenDrive* drive = Find(cd);
        buffer->status = drive ? ReadFrames(*drive, buffer) : Fail(SS_NO_DEVICE);
        return buffer->status;
    } catch (...) {
        buffer->status = Fail(SS_ERR);
        return buffer->status;
    }
}

extern "C" AKRIP_API std::uint8_t GetAspiLibAspiError(void) {
    return Lib().lastError;
}

extern "C" AKRIP_API AKBOOL CloseCDHandle(HCDROM cd) {
    try {
        const auto lock = Enter();
        // Erasing the entry destroys the libcdio handle.
        if (Lib().open.erase(cd) == 0) {
            Fail(SS_NO_DEVICE);
            return 0;
        }
        return 1;
    } catch (...) {
        Fail(SS_ERR);
        return 0;
    }
}
