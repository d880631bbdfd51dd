#pragma once
// The track list dialog: opens the first CD drive, reads the disc's table of contents, lists
// its tracks for the user to select, and rips the selection on Rip. The CD commands run it
// modally, read what Rip left behind and then close the drive with CloseCd.

#include "cd/TrackEntry.h"
#include "platform/akrip/akrip.h"
#include "platform/ui/Dialog.h"

#include <QStringList>
#include <memory>

class QListWidget;

class CTrackListDlg : public platform::CDialog {
    Q_OBJECT
public:
    static constexpr int kTrackEntries = 101;
    static constexpr int kMaxSelection = 25;

    // No parent means the main window.
    explicit CTrackListDlg(QWidget* parent = nullptr);
    ~CTrackListDlg() override;

    // A handle on the first drive of the CD library's list, or 0.
    static HCDROM OpenFirstCdDrive();
    static void ReadBigEndian32(uint32_t& out, const uint8_t (&bytes)[4]);
    // Hands the drive's handle back to the CD library (0 when none was opened).
    void CloseCd();

    // Rips every selected track (at most 25, in list order) into "<name>.wav" in the current
    // directory, then shows "Finished Ripping"; with m_closeAfterRip 1 it also ends the dialog
    // with IDOK. While it runs, Rip is refused and OK, Cancel and the close box are held until
    // it has finished.
    void OnRip();

    struct TrackBufferDeleter {
        void operator()(TRACKBUF* buffer) const;
    };
    using TrackBuffer = std::unique_ptr<TRACKBUF, TrackBufferDeleter>;
    // A zeroed buffer with room for `frames` frames, or none when the memory cannot be had.
    static TrackBuffer AllocTrackBuffer(uint32_t frames);
    // Reads `length` frames from `start` in chunks of 26 frames, up to three attempts each, into
    // `fileName` behind a WAV header that counts what reached the file. A file that cannot be
    // created, a chunk that fails three times and a failed write are each reported in a box.
    static void RipTrackToWav(HCDROM handle, uint32_t start, uint32_t length, QString fileName);

    void OnOK() override;
    void OnCancel() override;

    QListWidget* m_trackList = nullptr;
    HCDROM m_hCD = 0;
    TOC m_toc{};
    TrackEntry m_tracks[kTrackEntries] = {};
    uint32_t m_ripStart = 0;
    uint32_t m_ripLength = 0;
    int m_selectedCount = 0;
    int m_closeAfterRip = 0; // 1: Rip ends the dialog with OK once it has ripped
    int m_selection[kMaxSelection] = {};
    QStringList m_rippedFiles; // every WAV file name that Rip has handled, in order

protected:
    // false after a failure that has been reported; the dialog then opens with an empty list.
    bool OnInitDialog() override;
    void DoDataExchange(bool save) override;

private:
    // Checks the table of contents that ReadTOC filled; false for one that cannot be indexed.
    bool TocIsUsable() const;
    void FillTrackTable();

    bool m_ripping = false;
    int m_heldEnd = 0; // IDOK or IDCANCEL asked for while a Rip ran, carried out after it
};
