#pragma once
// The program's pictures: felt, card faces and backs, avatars and button pictures. They are
// drawn in code with QPainter the first time they are asked for and then kept for the whole run.
//
// Threads: UI thread only (QPixmap). The returned references stay valid until the program ends.

#include <QPixmap>

namespace Pictures {

// Sizes in pixels.
inline constexpr int kSmallCardWidth = 44;
inline constexpr int kSmallCardHeight = 58;
inline constexpr int kLargeCardWidth = 65;
inline constexpr int kLargeCardHeight = 87;
inline constexpr int kFeltSize = 167;
inline constexpr int kAvatarSize = 35;
inline constexpr int kAvatarCount = 25;
inline constexpr int kButtonPictureSize = 24;

enum class ButtonPicture
{
    Fold,      // the FOLD button
    CheckCall, // the check/call button
    Raise,     // the bet/raise button
    Ok,        // OK and Calculate
    Cancel,
};

// Face of card integer 0..51 (pokerlib/CardCodes.h); large = 65 x 87, otherwise 44 x 58. Out
// of range: an empty pixmap.
const QPixmap &card(int card, bool large);
// The large face marked as selected (check mark in the corner), for the card picker.
const QPixmap &cardSelected(int card);
const QPixmap &cardBack(bool large);
// 167 x 167 tile; neighbouring tiles are drawn mirrored.
const QPixmap &felt();
// Avatar 0..24 in the order of the opponents' avatar name table (0 "Albert" .. 24 "Hero").
const QPixmap &avatar(int index);
const QPixmap &button(ButtonPicture id);

} // namespace Pictures
