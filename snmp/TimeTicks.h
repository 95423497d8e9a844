// TimeTicks: hundredths of a second, printed and parsed as
// "[N days, ]H:MM:SS.hh". Shared with the QUAV library.
#pragma once

#include "Integer.h"

class TimeTicks : public SnmpUInt32 {
 public:
  TimeTicks();
  TimeTicks(unsigned long value);
  TimeTicks(const char* text);
  TimeTicks(const TimeTicks& other);

  const char* get_printable() const override;
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override { return SnmpUInt32::operator=(other); }
  TimeTicks& operator=(unsigned long value);
  TimeTicks& operator=(const char* text);
  TimeTicks& operator=(const TimeTicks& other);

 private:
  static SmiUINT32 parse(const char* text);

  mutable char time_buffer[32];
};
