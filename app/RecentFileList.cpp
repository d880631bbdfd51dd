#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>
#include <algorithm>

CRecentFileList::CRecentFileList(QString section, QString entryFormat, int size)
    : m_strSectionName(std::move(section)), m_strEntryFormat(std::move(entryFormat)),
      m_arrNames(static_cast<std::size_t>(std::max(size, 1))) {}

QString CRecentFileList::EntryName(int index) const {
    return m_strEntryFormat.arg(index + 1);
}

void CRecentFileList::Add(const QString& path) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    // File names on this system are case-sensitive, so only an exact match is the same file.
    auto found = std::find(m_arrNames.begin(), m_arrNames.end(), fullPath);
    if (found == m_arrNames.end())
        found = m_arrNames.end() - 1;
    std::rotate(m_arrNames.begin(), found, found + 1);
    m_arrNames.front() = fullPath;
}

void CRecentFileList::ReadList(QSettings& profile) {
    profile.beginGroup(m_strSectionName);
    for (int i = 0; i < GetSize(); ++i)
        m_arrNames[static_cast<std::size_t>(i)] = profile.value(EntryName(i)).toString();
    profile.endGroup();
}

void CRecentFileList::WriteList(QSettings& profile) const {
    profile.remove(m_strSectionName);
    profile.beginGroup(m_strSectionName);
    for (int i = 0; i < GetSize(); ++i) {
        const QString& name = m_arrNames[static_cast<std::size_t>(i)];
        if (!name.isEmpty())
            profile.setValue(EntryName(i), name);
    }
    profile.endGroup();
}
