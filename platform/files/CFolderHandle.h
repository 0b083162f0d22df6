#pragma once

#include <QByteArray>
#include <cerrno>

// An open descriptor of a folder (O_PATH: it reads nothing), through which files are acted
// on by name, so that nothing done to the folder's path afterwards can send an action to
// another folder. Owns the descriptor.
class CFolderHandle {
public:
    // What Error() says when the folder's path leads to another folder than the one listed.
    static constexpr int kReplaced = ESTALE;

    CFolderHandle() = default;
    CFolderHandle(QByteArray path, int fd, int error);
    ~CFolderHandle();
    CFolderHandle(CFolderHandle&& other) noexcept;
    CFolderHandle& operator=(CFolderHandle&& other) noexcept;
    CFolderHandle(const CFolderHandle&) = delete;
    CFolderHandle& operator=(const CFolderHandle&) = delete;

    // The folder that `path` leads to now, links followed.
    static CFolderHandle Open(const QByteArray& path);

    int Fd() const { return m_fd; }
    // 0 while open; otherwise why it could not be opened (an errno, or kReplaced).
    int Error() const { return m_fd >= 0 ? 0 : m_error; }
    const QByteArray& Path() const { return m_path; }
    // The folder's absolute path as the system resolves the descriptor now, else `path`
    // with its links resolved; empty when neither can be had.
    QByteArray ResolvedPath() const;

private:
    QByteArray m_path;
    int m_fd = -1;
    int m_error = EBADF;
};
