#pragma once

#include "field/char_object.h"
#include "field/field_panel.h"
#include "field/locked_list.h"
#include "field/snake.h"

#include <cstdint>
#include <string>

// The game state of the play area: the snake and the letter tiles of the
// question in play. The game loop places, steps and empties; the window
// thread turns the snake and paints.
class CPlayField : public CFieldPanel
{
public:
    // Spacing between tile centres and the margins of the placement rules.
    static constexpr int32_t kTileSpacing = 30;
    static constexpr int32_t kCentreMarginX = 70;
    static constexpr int32_t kCentreMarginY = 50;
    static constexpr double kQuestionStep = 20.0;

    CPlayField();
    ~CPlayField() override;

    void Draw(CDrawTarget& dc, std::string strStatus) override;
    void DrawTiles(CDrawTarget& dc);
    void DrawSnake(CDrawTarget& dc);
    // The letter of a tile or segment: its byte, or its half of a character.
    void DrawLetter(CDrawTarget& dc, const CCharObject& letter);
    // Body segments next to each other, the first a left half and the second
    // a right half, whose bytes make a character: eaten in reading order.
    static bool IsCharacterPair(const CCharObject& first, const CCharObject& second);

    void CentreSnake();
    // Centres the snake and sets its step for play; direction and body stay.
    void StartQuestion();
    // One tile per byte of the answer, scattered around the central box.
    void PlaceTiles(std::string strAnswer);
    // Move, wrap around at the area's edges, eat what the head touches.
    void Step();

    int32_t GetTileCount() const { return m_tiles.GetCount(); }
    // For the game loop, the only thread that deletes tiles.
    CCharObject* GetTile(int32_t nIndex) const { return m_tiles.GetAt(nIndex); }
    // For other threads: copies tile nIndex under the list's lock.
    bool CopyTile(int32_t nIndex, CCharObject& out) const;
    void RemoveAllTiles() { m_tiles.RemoveAll(); }

    CSnake& GetSnake() { return m_snake; }
    const CSnake& GetSnake() const { return m_snake; }

    void TurnUp() { m_snake.SetDirection(CSnake::Up); }
    void TurnRight() { m_snake.SetDirection(CSnake::Right); }
    void TurnDown() { m_snake.SetDirection(CSnake::Down); }
    void TurnLeft() { m_snake.SetDirection(CSnake::Left); }

private:
    Point AreaCentre() const;

    CSnake m_snake;
    CLockedList<CCharObject> m_tiles;
};
