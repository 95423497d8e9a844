#include "TimeTicks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

TimeTicks::TimeTicks() : time_buffer() { smival.syntax = sNMP_SYNTAX_TIMETICKS; }

TimeTicks::TimeTicks(unsigned long value) : SnmpUInt32(value), time_buffer() {
  smival.syntax = sNMP_SYNTAX_TIMETICKS;
}

TimeTicks::TimeTicks(const char* text) : TimeTicks() { smival.value.uNumber = parse(text); }

TimeTicks::TimeTicks(const TimeTicks& other) : SnmpUInt32(other), time_buffer() {
  smival.syntax = sNMP_SYNTAX_TIMETICKS;
}

SnmpSyntax* TimeTicks::clone() const { return new (std::nothrow) TimeTicks(*this); }

TimeTicks& TimeTicks::operator=(unsigned long value) {
  smival.value.uNumber = static_cast<SmiUINT32>(value);
  return *this;
}

TimeTicks& TimeTicks::operator=(const char* text) {
  smival.value.uNumber = parse(text);
  return *this;
}

TimeTicks& TimeTicks::operator=(const TimeTicks& other) {
  smival.value.uNumber = other.smival.value.uNumber;
  return *this;
}

const char* TimeTicks::get_printable() const {
  const unsigned long v = smival.value.uNumber;
  const unsigned long days = v / 8640000;
  const unsigned long r = v % 8640000;
  const unsigned long hours = r / 360000;
  const unsigned long minutes = (r % 360000) / 6000;
  const unsigned long seconds = (r % 6000) / 100;
  const unsigned long hundredths = r % 100;
  if (days == 0)
    std::snprintf(time_buffer, sizeof time_buffer, "%lu:%02lu:%02lu.%02lu", hours, minutes, seconds, hundredths);
  else if (days == 1)
    std::snprintf(time_buffer, sizeof time_buffer, "1 day %lu:%02lu:%02lu.%02lu", hours, minutes, seconds,
                  hundredths);
  else
    std::snprintf(time_buffer, sizeof time_buffer, "%lu days, %lu:%02lu:%02lu.%02lu", days, hours, minutes, seconds,
                  hundredths);
  return time_buffer;
}

namespace {

// atoi without its undefined overflow: the decimal number after optional
// white space and sign, kept modulo 2^32 like every other step of the parse.
uint32_t read_number(const char* p) {
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  uint32_t n = 0;
  for (; *p >= '0' && *p <= '9'; ++p) n = n * 10u + uint32_t(*p - '0');
  return negative ? 0u - n : n;
}

}  // namespace

SmiUINT32 TimeTicks::parse(const char* text) {
  if (!text) return 0;
  uint32_t total = 0;
  const char* p = text;
  const char* word = std::strstr(text, "days");
  size_t word_len = 4;
  if (!word) {
    word = std::strstr(text, "day");
    word_len = 3;
  }
  if (word) {
    total = read_number(text) * 8640000u;
    p = word + word_len;
  }
  if (const char* comma = std::strchr(p, ',')) p = comma + 1;
  if (const char* colon = std::strchr(p, ':')) {
    total += read_number(p) * 360000u;
    p = colon + 1;
    if (const char* colon2 = std::strchr(p, ':')) {
      total += read_number(p) * 6000u;
      p = colon2 + 1;
    }
  }
  if (const char* dot = std::strchr(p, '.')) {
    total += read_number(p) * 100u;
    total += read_number(dot + 1);
  }
  return total;
}
