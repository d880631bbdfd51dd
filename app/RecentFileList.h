#pragma once
// The recent-file list: a fixed number of slots, the most recent first, kept in one section of
// the profile as "File1", "File2"... A slot may be empty; empty slots are never written.

#include <QString>
#include <vector>

class QSettings;

class CRecentFileList {
public:
    CRecentFileList(QString section, QString entryFormat, int size);

    int GetSize() const { return static_cast<int>(m_arrNames.size()); }
    const QString& operator[](int index) const {
        return m_arrNames[static_cast<std::size_t>(index)];
    }

    // Puts `path` (made absolute) first; an entry already naming it moves up instead of being
    // repeated, otherwise the last entry drops out.
    void Add(const QString& path);

    // Fills the slots from the profile; entries beyond the list's size are not read.
    void ReadList(QSettings& profile);
    // Clears the profile's section and writes the non-empty slots back, each under its own
    // number.
    void WriteList(QSettings& profile) const;

private:
    QString EntryName(int index) const;

    QString m_strSectionName;
    QString m_strEntryFormat; // "File%1"
    std::vector<QString> m_arrNames;
};
