#pragma once
// The set-up dialog's last accepted table (seats, game type, blinds, players and stacks),
// kept in the settings so that the next "Start game" offers it again.
//
// Threads: UI thread.

class CDialogTable;

// Stores what the accepted dialog shows.
void RememberTable(const CDialogTable &dialog);
// Fills a new dialog with the remembered table; leaves the defaults when there is none.
void OfferLastTable(CDialogTable &dialog);
