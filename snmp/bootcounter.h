// The snmpEngineBoots counters of the local SNMPv3 engines, kept across runs
// in one small text file: one line per engine id, "<encoded id> <counter>".
#pragma once

#include <cstdint>
#include <string>

#include "OctetStr.h"

// 0 found; -1 no line for this engine (boots 0); -2 the file cannot be read
// (boots 0); -3 engine id longer than 32 bytes (boots 0).
int getBootCounter(const char* fileName, const OctetStr& engineId, uint32_t& boots);

// The same on the file's contents: 0 found, -1 no line, -3 engine id too long.
int parseBootCounter(const std::string& text, const OctetStr& engineId, uint32_t& boots);

// 0 written; -2 the file or the temporary file cannot be opened or written;
// -5 the file did not exist and cannot be created; -6 the temporary file
// cannot be renamed to the file's name (the old file is then still intact).
int saveBootCounter(const char* fileName, const OctetStr& engineId, uint32_t boots);

// Each byte as two characters '@' + nibble, high nibble first (0x3A is "CJ").
std::string encodeEngineId(const unsigned char* bytes, size_t length);
// The inverse; a trailing odd character is ignored.
OctetStr decodeEngineId(const std::string& text);
