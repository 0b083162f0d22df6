#pragma once

#include <QList>
#include <QRect>

inline constexpr int kMinUsableWidth = 300; // room for both side panes and some picture
inline constexpr int kMinUsableHeight = 200;
inline constexpr int kMinVisibleWidth = 100; // enough of the title bar to grab it
inline constexpr int kMinVisibleHeight = 30;

// Brings a stored main-window rectangle back where a person can use it. `screens` are the
// available areas of the screens, the primary one first. A rectangle too small to use gets
// the default size; one that shows too little of itself on every screen is moved onto the
// primary screen. A usable, visible rectangle is returned unchanged.
QRect CorrectWindowRect(const QRect& stored, const QList<QRect>& screens);
