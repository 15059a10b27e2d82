// A game's shape: DRAW main numbers of 1..POOL, and perhaps K bonus numbers of 1..N or K more of
// 1..POOL drawn after the main ones (POOL:DRAW, POOL:DRAW+K:N, POOL:DRAW+K).
#pragma once

#include <string>

namespace combogen {

struct PrizeGame {
    int pool = 0, draw = 0;
    int bonusDraw = 0, bonusPool = 0;  // 0: no bonus of a pool of its own
    bool samePool = false;             // the K bonus numbers come of 1..pool; bonusPool 0
};

// As the options spell it: "49:6", "69:5+1:26", "49:6+1".
inline std::string GameText(const PrizeGame& game) {
    // Appended piece by piece: GCC 12 warns falsely on "+" + std::string.
    std::string text = std::to_string(game.pool);
    text.append(1, ':').append(std::to_string(game.draw));
    if (game.bonusDraw > 0) text.append(1, '+').append(std::to_string(game.bonusDraw));
    if (game.bonusPool > 0) text.append(1, ':').append(std::to_string(game.bonusPool));
    return text;
}

}  // namespace combogen
