#include "platform/string_table.h"

std::string LoadStringResource(int32_t nId)
{
    switch (nId) {
    case IDS_ABOUTBOX:
        // "Wrigglet のﾊﾞｰｼﾞｮﾝ情報(&A)..."
        return "Wrigglet \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)...";
    default:
        return std::string();
    }
}
