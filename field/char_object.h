#pragma once

#include "field/field_object.h"

#include <string>

// One byte of an answer: a letter tile while it waits on the field, a body
// segment once the snake has eaten it. Always 30 x 30. A byte that is one
// half of a double-byte character shows that half of it, and keeps it as a
// segment.
//
// Text and half are set before the object is put into a list that another
// thread can reach, and never changed afterwards, so readers need no lock.
class CCharObject : public CFieldObject
{
public:
    enum Half : int32_t { Whole = 0, LeftHalf = 1, RightHalf = 2 };

    CCharObject();
    CCharObject(const CCharObject& other) = default;
    CCharObject& operator=(const CCharObject& other) = default;
    ~CCharObject() override;

    void SetText(std::string strText);
    std::string GetText() const;
    const std::string& Text() const { return m_strText; }

    // The object draws nHalf of the double-byte character strCharacter.
    void SetHalf(int32_t nHalf, std::string strCharacter);
    int32_t GetHalf() const { return m_nHalf; }
    const std::string& Character() const { return m_strCharacter; }

    // Copies text, half, position and size; steps and drawing offset stay.
    void Assign(const CCharObject& other);

private:
    std::string m_strText;
    int32_t m_nHalf = Whole;
    std::string m_strCharacter;
};
