#include "cd/TrackListDlg.h"

#include "cd/CdLibrary.h"
#include "platform/ui/ControlId.h"
#include "platform/ui/JobGuard.h"
#include "platform/ui/MessageBox.h"
#include "res/TrackListTemplate.h"
#include "res/resource.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QScopedValueRollback>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// ADR holds the control bits in its low nibble; this one marks a data track.
constexpr uint8_t kDataTrackBit = 4;
// 150 seconds of frames: the gap that a second session puts before its data track.
constexpr uint32_t kSessionGapFrames = 11250;
// Track numbers of a disc run from 1 to 99.
constexpr int kMaxTrackNumber = 99;

} // namespace

CTrackListDlg::CTrackListDlg(QWidget* parent) : CDialog(res::TrackListTemplate(), parent) {}

// The owner closes the drive with CloseCd; this only catches an owner that never did, so that
// the handle is not left open for the rest of the run.
CTrackListDlg::~CTrackListDlg() {
    if (m_hCD != 0)
        CloseCd();
}

HCDROM CTrackListDlg::OpenFirstCdDrive() {
    CDLIST list;
    std::memset(&list, 0, sizeof list);
    CdLibrary().getCdList(&list);
    if (list.num == 0)
        return 0;

    GETCDHAND request;
    std::memset(&request, 0, sizeof request);
    request.size = sizeof(GETCDHAND);
    request.ver = 1;
    request.ha = list.cd[0].ha;
    request.tgt = list.cd[0].tgt;
    request.lun = list.cd[0].lun;
    request.readType = 0; // jitter correction stays off, no jitter or overlap frames
    return CdLibrary().getCdHandle(&request);
}

void CTrackListDlg::ReadBigEndian32(uint32_t& out, const uint8_t (&bytes)[4]) {
    out = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
          uint32_t{bytes[3]};
}

void CTrackListDlg::CloseCd() {
    CdLibrary().closeCdHandle(m_hCD);
    // A closed handle's number may be issued again to another drive user; forget it so that a
    // second close cannot hit that one.
    m_hCD = 0;
}

void CTrackListDlg::OnRip() {
    // A Rip dispatches events once per chunk, so Rip can be pressed again meanwhile: that
    // press must not start a second Rip over the running one's selection.
    if (m_ripping) {
        QApplication::beep();
        return;
    }
    {
        const platform::JobGuard running;
        const QScopedValueRollback ripping(m_ripping, true);

        m_selectedCount = 0;
        for (int row = 0; m_trackList && row < m_trackList->count(); ++row) {
            if (m_selectedCount < kMaxSelection && m_trackList->item(row)->isSelected())
                m_selection[m_selectedCount++] = row;
        }
        for (int k = 0; k < m_selectedCount; ++k) {
            const int p = m_selection[k];
            ReadBigEndian32(m_ripStart, m_toc.tracks[p].addr);
            uint32_t next = 0;
            ReadBigEndian32(next, m_toc.tracks[p + 1].addr); // the lead-out after the last track
            m_ripLength = next - m_ripStart;
            const QString fileName = QString::fromLatin1(m_tracks[p].name) + QStringLiteral(".wav");
            m_rippedFiles << fileName;
            RipTrackToWav(m_hCD, m_ripStart, m_ripLength, fileName);
        }
    }

    const int held = std::exchange(m_heldEnd, 0);
    if (m_closeAfterRip == 1)
        CDialog::OnOK();
    platform::ShowMessageBox(QStringLiteral("Finished Ripping"));
    if (m_closeAfterRip != 1 && held == platform::IDOK)
        CDialog::OnOK();
    else if (m_closeAfterRip != 1 && held == platform::IDCANCEL)
        CDialog::OnCancel();
}

void CTrackListDlg::OnOK() {
    if (m_ripping) {
        m_heldEnd = platform::IDOK;
        return;
    }
    CDialog::OnOK();
}

void CTrackListDlg::OnCancel() {
    if (m_ripping) {
        m_heldEnd = platform::IDCANCEL;
        return;
    }
    CDialog::OnCancel();
}

void CTrackListDlg::DoDataExchange(bool save) {
    CDialog::DoDataExchange(save);
    if (m_trackList)
        return;
    m_trackList = platform::FindControl<QListWidget>(this, res::IDC_TRACK_LIST);
    if (m_trackList) {
        // List index p is table position p and TOC descriptor p: never sort.
        m_trackList->setSortingEnabled(false);
        m_trackList->setSelectionMode(QAbstractItemView::MultiSelection);
        m_trackList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
}

bool CTrackListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (auto* rip = platform::FindControl<QAbstractButton>(this, res::IDC_RIP))
        connect(rip, &QAbstractButton::clicked, this, &CTrackListDlg::OnRip, Qt::UniqueConnection);
    if (m_trackList)
        m_trackList->clear();

    m_hCD = OpenFirstCdDrive();
    if (m_hCD == 0) {
        platform::ShowMessageBox(QStringLiteral("Could not get handle to CD"));
        return false;
    }

    std::memset(&m_toc, 0, sizeof m_toc);
    CdLibrary().modifyCdParms(m_hCD, CDP_MSF, 0);
    if (CdLibrary().readToc(m_hCD, &m_toc) != SS_COMP || !TocIsUsable()) {
        // Nothing may read the numbers of a table that was refused.
        std::memset(&m_toc, 0, sizeof m_toc);
        platform::ShowMessageBox(QStringLiteral("Error reading TOC"));
        return false;
    }

    FillTrackTable();
    const int count = m_toc.lastTrack - m_toc.firstTrack + 1;
    if (m_trackList) {
        for (int p = 0; p < count; ++p)
            m_trackList->addItem(QString::fromLatin1(m_tracks[p].name));
    }
    return true;
}

bool CTrackListDlg::TocIsUsable() const {
    // The copy holds 100 descriptors: at most 99 tracks and the lead-out after them.
    return m_toc.firstTrack >= 1 && m_toc.lastTrack <= kMaxTrackNumber &&
           m_toc.firstTrack <= m_toc.lastTrack;
}

void CTrackListDlg::FillTrackTable() {
    // The library puts the first track's descriptor at position 0 whatever its number, so a
    // disc whose tracks start at 5 fills positions 0 on and names them Track 5, Track 6...
    const int first = m_toc.firstTrack;
    const int count = m_toc.lastTrack - first + 1;
    for (int p = 0; p < count; ++p) {
        const TOCTRACK& descriptor = m_toc.tracks[p];
        TrackEntry& entry = m_tracks[p];
        ReadBigEndian32(entry.start, descriptor.addr);
        uint32_t next = 0;
        ReadBigEndian32(next, m_toc.tracks[p + 1].addr); // the lead-out after the last track
        entry.length = next - entry.start;

        if (descriptor.ADR & kDataTrackBit) {
            entry.isData = 1;
            std::snprintf(entry.name, sizeof entry.name, "Data Track");
            // The audio track before a second session's data track is shortened by the gap
            // between the sessions. Only the table's length changes, and nothing reads it
            // again: Rip takes a track's bounds from the table of contents.
            if (p > 0) {
                TrackEntry& previous = m_tracks[p - 1];
                if (!previous.isData && previous.length > kSessionGapFrames)
                    previous.length -= kSessionGapFrames;
            }
        } else {
            entry.isData = 0;
            std::snprintf(entry.name, sizeof entry.name, "Track %d", first + p);
        }
        entry.trackNo = descriptor.trackNumber;
    }
}
