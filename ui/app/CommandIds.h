#pragma once
// Command ids of the main frame that do not reach the game (the game's own are in Game.h).

enum FrameCommandId : int
{
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT_FRAME = 57665,
    ID_FILE_CLOSE = 57602,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608, // "&Quick Print"
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_PRINT_SETUP = 57606,
    ID_VIEW_CLASSVIEW = 32799,
    ID_VIEW_FILEVIEW = 32800,
    ID_VIEW_OUTPUTWND = 32801,
    ID_VIEW_PROPERTIESWND = 32802,
    ID_VIEW_CAPTION_BAR = 221,
    ID_TOOLS_OPTIONS = 220, // the caption bar's "Go..."
    ID_VIEW_APPLOOK_OFF_2007_BLUE = 215,
    ID_VIEW_APPLOOK_OFF_2007_BLACK = 216,
    ID_VIEW_APPLOOK_OFF_2007_SILVER = 217,
    ID_VIEW_APPLOOK_OFF_2007_AQUA = 218,
    ID_VIEW_APPLOOK_WINDOWS_7 = 219,
    ID_VIEW_COACH = 32850, // the coach's line at the table and its verdicts after each hand
    ID_VIEW_SHOW_ALL_HANDS = 32851, // every hand of a showdown face up at the table
    ID_VIEW_TRACKER_COPY = 32852,   // a PokerStars-format copy of each game beside its hand history
    ID_REVIEW_HANDS = 32860,        // "Hands…"
    ID_REVIEW_PROGRESS = 32861,     // "Progress…"
    ID_REVIEW_DRILL = 32862,        // "Drill…"
    ID_EQUITY_LAB = 32880,          // "Equity lab…"
};
