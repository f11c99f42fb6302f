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

void CCharObject::Assign(const CCharObject& other)
{
    if (&other == this)
        return;
    m_strText = other.m_strText;
    SetPosition(other.GetPosition());
    SetWidth(other.GetWidth());
    SetHeight(other.GetHeight());
}
