// Creates the bass effect for an entry point, with the editor the entry's
// hosts can show (or none). Never throws: every failure answers null, with
// nothing left allocated.
#pragma once

#include "plugin/AEffect.h"

class EditorMaker;

AEffect* createZeltoBass(HostCallback host, const EditorMaker* editor) noexcept;
