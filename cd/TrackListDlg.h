#pragma once
// The track list dialog: opens the first CD drive, reads the disc's table of contents, lists
// its tracks for the user to select, and rips the selection on Rip. The CD commands run it
// modally, read what Rip left behind and then close the drive with CloseCd.

#include "cd/TrackEntry.h"
#include "platform/akrip/akrip.h"
#include "platform/ui/Dialog.h"

#include <QStringList>

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

    void OnRip();

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
};
