// The add-on's one global failure state: set when an effect's own allocation
// came back empty, read by the entry point, never cleared.
#pragma once

extern bool oome;
