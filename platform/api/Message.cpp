// BMessage's named fields.
#include "platform/api/Message.h"

status_t BMessage::AddInt32(const char* name, int32_t value)
{
    if (name == nullptr)
        return B_BAD_VALUE;
    fields_.push_back({name, Kind::Int32, value, {}, {}});
    return B_OK;
}

status_t BMessage::AddPoint(const char* name, BPoint value)
{
    if (name == nullptr)
        return B_BAD_VALUE;
    fields_.push_back({name, Kind::Point, 0, value, {}});
    return B_OK;
}

status_t BMessage::AddString(const char* name, const char* value)
{
    if (name == nullptr || value == nullptr)
        return B_BAD_VALUE;
    fields_.push_back({name, Kind::String, 0, {}, value});
    return B_OK;
}

const BMessage::Field* BMessage::find(const char* name, Kind kind) const
{
    if (name == nullptr)
        return nullptr;
    for (const Field& f : fields_) {
        if (f.kind == kind && f.name == name)
            return &f;
    }
    return nullptr;
}

status_t BMessage::FindInt32(const char* name, int32_t* value) const
{
    const Field* f = find(name, Kind::Int32);
    if (f == nullptr || value == nullptr)
        return B_NAME_NOT_FOUND;
    *value = f->integer;
    return B_OK;
}

status_t BMessage::FindPoint(const char* name, BPoint* value) const
{
    const Field* f = find(name, Kind::Point);
    if (f == nullptr || value == nullptr)
        return B_NAME_NOT_FOUND;
    *value = f->point;
    return B_OK;
}

status_t BMessage::FindString(const char* name, const char** value) const
{
    const Field* f = find(name, Kind::String);
    if (f == nullptr || value == nullptr)
        return B_NAME_NOT_FOUND;
    *value = f->text.c_str();
    return B_OK;
}
