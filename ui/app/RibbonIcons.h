#pragma once
// Ribbon pictures drawn in code (32 x 32 for the large buttons, 16 x 16 for the small ones).
//
// Threads: UI thread.

#include <QIcon>

enum class RibbonIcon
{
    StartGame,
    StartDeal,
    Stop,
    Calculator,
    About,
    Style,
    AppButton,
    Info,
    ReviewHands,
    Progress,
    Drill
};

QIcon MakeRibbonIcon(RibbonIcon kind);
// One picture at any size; AppButton is also the program's icon on the desktop.
QPixmap DrawRibbonIcon(RibbonIcon kind, int size);
