#pragma once
// The practice deck kept on disk: Practice.db3, an SQLite file of its own beside PokerDB.db3 in
// the data folder, holding every spot with its schedule and every answer given. A file SQLite
// cannot read, or whose tables are not the deck's, is reported, set aside as
// "Practice.db3.damaged" and started anew; the games and PokerDB.db3 are never touched.
//
// Thread use: one object per thread.

#include "practice/Deck.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace practice {

constexpr char kStoreFileName[] = "Practice.db3";

class Store
{
public:
    // Opens (or creates) `path`, waiting up to `busyMillis` for another program's lock. False
    // with a message when it cannot be opened or read now (a damaged file is not, when it
    // is only locked or read-only); `rebuilt` tells, with a message in `notice`, that a
    // damaged file was set aside.
    bool Open(const std::string &path, std::string &error, int busyMillis = 5000);
    bool rebuilt() const { return !m_notice.empty(); }
    const std::string &notice() const { return m_notice; }

    // Adds spots not yet in the deck; those already in keep their schedule. Returns how many
    // were new, -1 on a write failure (error set).
    int Add(const std::vector<Spot> &spots, std::string &error);
    bool Load(std::vector<Spot> &spots, std::string &error);
    // Saves the spot's schedule and the answer, in one transaction.
    bool Answered(const Spot &spot, const Try &attempt, std::string &error);
    // Every answer, oldest first.
    bool Tries(std::vector<Try> &tries, std::string &error);

private:
    bool Prepare(int busyMillis, std::string &error, bool &damaged);
    bool Run(const char *sql, std::string &error);

    std::shared_ptr<sqlite3> m_db;
    std::string m_notice;
};

} // namespace practice
