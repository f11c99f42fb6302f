#pragma once

#include "field/field_object.h"

#include <string>

// One byte of an answer: a letter tile while it waits on the field, a body
// segment once the snake has eaten it. Always 30 x 30.
//
// The text is set before the object is put into a list that another thread
// can reach, and never changed afterwards, so readers need no lock for it.
class CCharObject : public CFieldObject
{
public:
    CCharObject();
    CCharObject(const CCharObject& other) = default;
    CCharObject& operator=(const CCharObject& other) = default;
    ~CCharObject() override;

    void SetText(std::string strText);
    std::string GetText() const;
    const std::string& Text() const { return m_strText; }

    // Copies text, position and size; steps and drawing offset stay.
    void Assign(const CCharObject& other);

private:
    std::string m_strText;
};
