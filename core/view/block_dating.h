#pragma once

#include <algorithm>

// How every reader of a channel file dates its shows: a show airs on the day of its day block
// (the first separator opens Monday, the n-th Monday + n - 1), or on the next date when a show
// above it in the same block starts later (it runs after midnight). So a block that opens with
// a night show dates it on the block's own day; what the previous evening ran on past midnight
// stands at the end of the previous block.
namespace brevio::view {

class BlockDating
{
public:
    // The lines that follow belong to block `block` (-1 the header, 0 Monday .. 6 Sunday, 7 and
    // on past Sunday).
    void startBlock(int block)
    {
        m_block = block;
        m_latest = -1;
    }
    // A day separator: the next block opens.
    void nextBlock() { startBlock(m_block + 1); }
    int block() const { return m_block; }

    // The day, counted from the week's Monday, on which the block's next show airs; `time` is its
    // time of day as the file has it, in minutes. Shows come in the block's order.
    int dayOf(int time)
    {
        const bool afterMidnight = m_latest > time;
        m_latest = std::max(m_latest, time);
        return m_block + (afterMidnight ? 1 : 0);
    }

private:
    int m_block = -1;
    int m_latest = -1;
};

} // namespace brevio::view
