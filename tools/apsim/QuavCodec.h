// QUAV datagrams as the simulated device reads and writes them, and the
// variables a RIZ-4410 offers over QUAV: apsim's own code, sharing nothing
// with the QUAV library, so that a fault common to both shows in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Bytes.h"

namespace apsim {

constexpr uint16_t kRequestPort = 64512;
constexpr uint16_t kAnnouncePort = 55000;
constexpr size_t kHeaderSize = 36;

enum Command : uint8_t { kDiscover = 1, kSet = 3, kGet = 5, kAnnounce = 7 };
enum Status : uint8_t { kDone = 0, kPasswordError = 1, kNotDone = 2, kBadCommand = 3 };

// Upper-case hex, two digits a byte.
std::string Hex(const uint8_t* p, size_t n);
// Hex digits, optionally separated by ':', '-' or ' '; nullopt for anything else.
std::optional<Bytes> ParseHex(const std::string& text);

// A value of the QUAV type `type` from its text as a scenario writes it, and back.
Bytes EncodeValue(uint8_t type, const std::string& text);
std::string DecodeValue(uint8_t type, const Bytes& v);
// Whether `size` bytes are a value of the type.
bool SizeFits(uint8_t type, size_t size);

struct Variable {
  uint8_t id;
  const char* selector;  // upper-case hex, two digits a byte
  uint8_t type;
  const char* key;       // scenario key holding its value
  bool writable;
};

const Variable* FindVariable(uint8_t id, const std::string& selector);
const Variable* VariableByKey(const char* key);

struct Item {
  uint8_t id;
  std::string selector;  // upper-case hex
  Bytes value;
};

struct Request {
  uint8_t command, sequence;
  bool authenticated;
  Bytes mac;
  std::vector<Item> items;
};

// Parses a request; nullopt for anything malformed (a real device drops it).
std::optional<Request> ParseRequest(const uint8_t* data, size_t length);

// Writing a datagram: the header, the items, then the length.
Bytes Header(uint8_t command, uint8_t sequence, uint8_t status, const Bytes& mac);
// `masked`: the value as an announcement carries it.
void PutItem(Bytes& out, const Variable& v, const Bytes& value, bool masked);
void FinishLength(Bytes& d);

// Whether a signed request's digest is the password's.
bool DigestMatches(const uint8_t* data, size_t length, const std::string& password);

}  // namespace apsim
