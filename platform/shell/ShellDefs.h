#pragma once

#include <cstdint>

// Flags and attribute bits of the namespace layer. The names and values are the ones
// the folder tree and the file list have always used, so that code written against the
// desktop shell reads the same here.
using ULONG = std::uint32_t;

// Enumeration flags (CShellFolder::EnumObjects).
inline constexpr ULONG SHCONTF_FOLDERS = 0x0020;
inline constexpr ULONG SHCONTF_NONFOLDERS = 0x0040;
// Without it, hidden items (names that begin with a dot) are left out.
inline constexpr ULONG SHCONTF_INCLUDEHIDDEN = 0x0080;

// Attributes (CShellFolder::GetAttributesOf).
inline constexpr ULONG SFGAO_LINK = 0x00010000;
inline constexpr ULONG SFGAO_READONLY = 0x00040000;
inline constexpr ULONG SFGAO_HIDDEN = 0x00080000;
inline constexpr ULONG SFGAO_DISPLAYATTRMASK = 0x000FC000;
inline constexpr ULONG SFGAO_FOLDER = 0x20000000;
inline constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;
inline constexpr ULONG SFGAO_HASSUBFOLDER = 0x80000000;

// Display-name flags (CShellFolder::GetDisplayNameOf).
inline constexpr ULONG SHGDN_NORMAL = 0x0000;
inline constexpr ULONG SHGDN_INFOLDER = 0x0001;
inline constexpr ULONG SHGDN_FORPARSING = 0x8000;
