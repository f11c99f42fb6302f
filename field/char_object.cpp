#include "field/char_object.h"

#include <utility>

CCharObject::CCharObject()
{
    SetWidth(30);
    SetHeight(30);
}

CCharObject::~CCharObject() = default;

void CCharObject::SetText(std::string strText)
{
    m_strText = std::move(strText);
}

std::string CCharObject::GetText() const
{
    return m_strText;
}

void CCharObject::SetHalf(int32_t nHalf, std::string strCharacter)
{
    m_nHalf = nHalf;
    m_strCharacter = std::move(strCharacter);
}

void CCharObject::Assign(const CCharObject& other)
{
    if (&other == this)
        return;
    m_strText = other.m_strText;
    m_nHalf = other.m_nHalf;
    m_strCharacter = other.m_strCharacter;
    SetPosition(other.GetPosition());
    SetWidth(other.GetWidth());
    SetHeight(other.GetHeight());
}
