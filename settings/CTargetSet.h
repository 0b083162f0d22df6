#pragma once

#include <QString>
#include <array>

inline constexpr int kTargetCount = 20;

// One button group: a home directory and twenty destinations. Destination i is the pair
// (m_astrNames[i], m_astrDirs[i]); an empty directory means the destination is unassigned.
// Names and directories are kept exactly as the user typed them.
class CTargetSet {
public:
    QString m_strHomeDirectory;
    std::array<QString, kTargetCount> m_astrDirs;
    std::array<QString, kTargetCount> m_astrNames;
};
