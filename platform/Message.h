// BMessage: as much of the platform's message as a mouse press carries,
// named 32-bit integers and points ("buttons", "modifiers", "clicks", "where").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Rect.h"
#include "platform/SupportDefs.h"

inline constexpr uint32_t B_MOUSE_DOWN = 0x5f4d4f44;  // '_MOD'

class BMessage {
 public:
  BMessage() = default;
  explicit BMessage(uint32_t command) : what(command) {}

  status_t AddInt32(const char* name, int32_t value);
  status_t AddPoint(const char* name, BPoint value);
  // B_OK and the first value of that name, or B_NAME_NOT_FOUND and *value untouched.
  status_t FindInt32(const char* name, int32_t* value) const;
  status_t FindPoint(const char* name, BPoint* value) const;

  uint32_t what = 0;

 private:
  struct Field {
    std::string name;
    bool isPoint;
    int32_t integer;
    BPoint point;
  };
  const Field* find(const char* name, bool isPoint) const;
  std::vector<Field> fields_;
};
