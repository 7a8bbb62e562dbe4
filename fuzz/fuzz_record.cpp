// SPDX-License-Identifier: MIT
// Record codes come from the settings file, which anyone can edit.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CHeroRecord.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CHeroRecord record;
    record.SetCode(std::string(reinterpret_cast<const char*>(data), size));
    if (!record.Decode())
        return 0;

    // Whatever a code decodes to is a record this game can write and read back.
    FuzzCheck(record.GetName().size() <= CHeroRecord::kNameBytes, "name fits its field");
    FuzzCheck(record.GetName().find('\0') == std::string::npos, "name ends at its first NUL");
    FuzzCheck(record.GetBalls() >= 0 && record.GetBalls() <= 0xFFFF, "balls fit 16 bits");
    FuzzCheck(record.GetScore() >= 0 && record.GetScore() <= 0xFFFF, "score fits 16 bits");

    CHeroRecord copy;
    copy.SetName(record.GetName());
    copy.SetBalls(record.GetBalls());
    copy.SetScore(record.GetScore());
    FuzzCheck(copy.Encode(), "a decoded record encodes");
    FuzzCheck(copy.GetCode().size() <= CHeroRecord::kMaxCodeChars, "code fits its length");

    CHeroRecord again;
    again.SetCode(copy.GetCode());
    FuzzCheck(again.Decode(), "a fresh code decodes");
    FuzzCheck(again.GetName() == record.GetName() && again.GetBalls() == record.GetBalls() &&
                  again.GetScore() == record.GetScore(),
              "encode then decode gives the record back");
    return 0;
}
