// BMessage: as much of the platform's message as a mouse press, a key and a
// menu item carry: named 32-bit integers, points and strings ("buttons",
// "modifiers", "clicks", "where"; "bytes", "key"; whatever an item holds).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/Rect.h"
#include "platform/api/SupportDefs.h"

inline constexpr uint32_t B_MOUSE_DOWN = 0x5f4d4f44; // '_MOD'
inline constexpr uint32_t B_KEY_DOWN = 0x5f4b5944;   // '_KYD'

class BMessage {
public:
    BMessage() = default;
    explicit BMessage(uint32_t command) : what(command) {}

    status_t AddInt32(const char* name, int32_t value);
    status_t AddPoint(const char* name, BPoint value);
    // A null string is refused (B_BAD_VALUE).
    status_t AddString(const char* name, const char* value);
    // B_OK and the first value of that name, or B_NAME_NOT_FOUND and *value untouched.
    status_t FindInt32(const char* name, int32_t* value) const;
    status_t FindPoint(const char* name, BPoint* value) const;
    // The string stays valid until the next Add to this message.
    status_t FindString(const char* name, const char** value) const;

    uint32_t what = 0;

private:
    enum class Kind { Int32, Point, String };
    struct Field {
        std::string name;
        Kind kind;
        int32_t integer;
        BPoint point;
        std::string text;
    };
    const Field* find(const char* name, Kind kind) const;
    std::vector<Field> fields_;
};
