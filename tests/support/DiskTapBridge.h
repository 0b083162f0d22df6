#pragma once

// The tap's two entries for the C library's stand-ins (DiskTapCalls.cpp), which must not
// see the library's own declarations of the functions they stand in for, nor Qt's.
void DiskTapNotice(const char* call, int dirFd, const char* path);
void DiskTapNoticeDescriptor(const char* call, int fd);
