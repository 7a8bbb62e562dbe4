// SPDX-License-Identifier: MIT
// CGbk on Windows: the system's own code page 936 tables.
#include "CGbk.h"

#include "CWideText.h"

std::string CGbk::GbkToUtf8(const std::string& gbk)
{
    return CWideText::ToUtf8(CWideText::FromGbk(gbk));
}

std::optional<std::string> CGbk::Utf8ToGbk(const std::string& utf8)
{
    const auto text = CWideText::FromUtf8(utf8);
    if (!text)
        return std::nullopt;
    return CWideText::ToGbk(*text);
}

int CGbk::GbkLength(const std::string& utf8)
{
    const auto gbk = Utf8ToGbk(utf8);
    return gbk ? static_cast<int>(gbk->size()) : -1;
}
