// Variable bindings and PDUs: values by syntax, capacity, list operations and
// self-assignment (watched by the sanitizers).
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "Address.h"
#include "Counter64.h"
#include "Integer.h"
#include "Pdu.h"

namespace {

Vb vb_of(const char* oid, long value) {
  Vb vb{Oid(oid)};
  vb.set_value(value);
  return vb;
}

std::string oids(const Pdu& pdu) {
  std::string s;
  for (int i = 0; i < pdu.get_vb_count(); ++i) s += std::string(i ? " " : "") + pdu[i].get_printable_oid();
  return s;
}

TEST(Vb, ValuesBySyntax) {
  Vb vb(Oid("1.3.6.1.2.1.1.1.0"));
  EXPECT_EQ(vb.get_syntax(), 0x05u);
  EXPECT_STREQ(vb.get_printable_value(), "");
  EXPECT_TRUE(vb.valid());

  long l = 0;
  int i = 0;
  unsigned long u = 0;
  vb.set_value(-5);
  EXPECT_EQ(vb.get_value(i), 0);
  EXPECT_EQ(i, -5);
  EXPECT_EQ(vb.get_value(u), SNMP_CLASS_INVALID);
  vb.set_value(0x1FFFFFFFEL);  // low 32 bits of a long
  EXPECT_EQ(vb.get_value(l), 0);
  EXPECT_EQ(l, -2);
  vb.set_value(7UL);
  EXPECT_EQ(vb.get_syntax(), 0x42u);
  EXPECT_EQ(vb.get_value(u), 0);
  EXPECT_EQ(u, 7u);
  EXPECT_EQ(vb.get_value(l), SNMP_CLASS_INVALID);
  vb.set_value(TimeTicks(8640000UL));
  EXPECT_STREQ(vb.get_printable_value(), "1 day 0:00:00.00");
  EXPECT_EQ(vb.get_value(u), 0);
  vb.set_value("text");
  char text[8];
  EXPECT_EQ(vb.get_value(text), 0);
  EXPECT_STREQ(text, "text");
  unsigned char buf[8];
  unsigned long len = 0;
  EXPECT_EQ(vb.get_value(buf, len, 2), 0);
  EXPECT_EQ(len, 2u);
  EXPECT_EQ(vb.get_value(buf, len), 0);
  EXPECT_EQ(len, 4u);
  vb.set_value(Counter64(1, 2));
  buf[0] = 0;
  len = 9;
  EXPECT_EQ(vb.get_value(buf, len), SNMP_CLASS_INVALID);
  EXPECT_EQ(buf[0], 0x30);
  EXPECT_EQ(len, 0u);
  Counter64 c;
  EXPECT_EQ(vb.get_value(c), 0);
  EXPECT_EQ(c.high(), 1u);
  SnmpInt32 wrong;
  EXPECT_EQ(vb.get_value(wrong), SNMP_CLASS_INVALID);
  vb.set_null();
  EXPECT_EQ(vb.get_value(c), SNMP_CLASS_INVALID);
  EXPECT_EQ(vb.get_syntax(), 0x05u);
}

TEST(Vb, SetSyntaxTable) {
  const struct {
    SmiUINT32 syntax;
    SmiUINT32 reported;
    bool has_value;
  } cases[] = {
      {0x02, 0x02, true}, {0x03, 0x04, true}, {0x04, 0x04, true}, {0x44, 0x04, true},
      {0x06, 0x06, true}, {0x40, 0x40, true}, {0x41, 0x41, true}, {0x42, 0x42, true},
      {0x43, 0x43, true}, {0x46, 0x46, true}, {0x80, 0x80, false}, {0x81, 0x81, false},
      {0x82, 0x82, false}, {0x05, 0x05, false}, {0x99, 0x05, false},
  };
  for (const auto& c : cases) {
    Vb vb(Oid("1.3"));
    vb.set_value(9);
    vb.set_syntax(c.syntax);
    EXPECT_EQ(vb.get_syntax(), c.reported) << c.syntax;
    EXPECT_EQ(vb.get_value_ptr() != nullptr, c.has_value) << c.syntax;
  }
  Vb ex(Oid("1.3"));
  ex.set_syntax(0x81);
  int i = 0;
  long l = 0;
  unsigned long u = 0;
  char text[4];
  EXPECT_EQ(ex.get_value(i), SNMP_CLASS_INVALID);
  EXPECT_EQ(ex.get_value(l), SNMP_CLASS_INVALID);
  EXPECT_EQ(ex.get_value(u), SNMP_CLASS_INVALID);
  EXPECT_EQ(ex.get_value(text), SNMP_CLASS_INVALID);
  // A value drops the exception.
  ex.set_value(1);
  EXPECT_EQ(ex.get_syntax(), 0x02u);
}

TEST(Vb, CopiesAndSelfAssignment) {
  Vb a = vb_of("1.3.6", 4);
  set_exception_status(&a, 0);
  Vb& alias = a;
  a = alias;
  EXPECT_STREQ(a.get_printable_oid(), "1.3.6");
  EXPECT_STREQ(a.get_printable_value(), "4");
  a.set_value(*a.get_value_ptr());  // its own value
  EXPECT_STREQ(a.get_printable_value(), "4");
  Vb b;
  b = a;
  a.set_value(5);
  EXPECT_STREQ(b.get_printable_value(), "4");
  EXPECT_FALSE(Vb().valid());
  Vb bad(Oid("1.3"));
  bad.set_value(IpAddress());
  EXPECT_FALSE(bad.valid());
}

TEST(Pdu, Defaults) {
  const Pdu pdu;
  EXPECT_TRUE(pdu.valid());
  EXPECT_EQ(pdu.get_vb_count(), 0);
  EXPECT_EQ(pdu.get_type(), 0);
  EXPECT_EQ(pdu.get_security_level(), 1);
  EXPECT_EQ(pdu.get_request_id(), 0u);
  TimeTicks ts(5UL);
  pdu.get_notify_timestamp(ts);
  EXPECT_EQ((unsigned long)ts, 0u);
}

TEST(Pdu, CapacityIsFifty) {
  Pdu pdu;
  for (int i = 0; i < 51; ++i) pdu += vb_of("1.3.6", i);
  EXPECT_EQ(pdu.get_vb_count(), 50);
  EXPECT_STREQ(pdu[49].get_printable_value(), "49");
  Vb many[51];
  for (int i = 0; i < 51; ++i) many[i] = vb_of("1.3", i);
  const Pdu too_many(many, 51);
  EXPECT_FALSE(too_many.valid());
  EXPECT_EQ(too_many.get_vb_count(), 0);
  const Pdu fifty(many, 50);
  EXPECT_TRUE(fifty.valid());
  EXPECT_EQ(fifty.get_vb_count(), 50);
  EXPECT_EQ(pdu.set_vblist(many, 51), 0);
  EXPECT_EQ(pdu.get_vb_count(), 50);
}

TEST(Pdu, ListOperations) {
  Vb three[] = {vb_of("1.1", 1), vb_of("1.2", 2), vb_of("1.3", 3)};
  Pdu pdu(three, 3);
  EXPECT_EQ(pdu.trim(0), 1);
  EXPECT_EQ(pdu.get_vb_count(), 3);
  EXPECT_EQ(pdu.trim(4), 0);
  EXPECT_EQ(pdu.trim(-1), 0);
  EXPECT_EQ(pdu.delete_vb(0), 1);
  EXPECT_EQ(oids(pdu), "1.2 1.3");
  EXPECT_EQ(pdu.delete_vb(2), 0);
  EXPECT_EQ(pdu.set_vb(vb_of("1.9", 9), 1), 1);
  EXPECT_EQ(oids(pdu), "1.2 1.9");
  EXPECT_EQ(pdu.set_vb(vb_of("1.9", 9), 2), 0);
  EXPECT_EQ(pdu.set_vb(pdu[0], 0), 1);  // its own binding
  EXPECT_EQ(oids(pdu), "1.2 1.9");
  Vb out;
  EXPECT_EQ(pdu.get_vb(out, 1), 1);
  EXPECT_STREQ(out.get_printable_oid(), "1.9");
  EXPECT_EQ(pdu.get_vb(out, -1), 0);
  Vb list[2];
  EXPECT_EQ(pdu.get_vblist(list, 2), 1);
  EXPECT_EQ(pdu.get_vblist(list, 3), 0);
  EXPECT_EQ(pdu.get_vblist(nullptr, 1), 0);
  EXPECT_STREQ(list[1].get_printable_value(), "9");
  EXPECT_EQ(pdu.trim(1), 1);
  EXPECT_EQ(oids(pdu), "1.2");

  set_request_id(&pdu, 77);
  set_error_status(&pdu, 5);
  set_error_index(&pdu, 2);
  EXPECT_EQ(pdu.set_vblist(three, 3), 1);
  EXPECT_EQ(pdu.get_error_status(), 0);
  EXPECT_EQ(pdu.get_error_index(), 0);
  EXPECT_EQ(pdu.get_request_id(), 77u);
  EXPECT_EQ(pdu.set_vblist(three, 0), 0);  // empties and forgets the request id
  EXPECT_EQ(pdu.get_vb_count(), 0);
  EXPECT_EQ(pdu.get_request_id(), 0u);
  EXPECT_EQ(pdu.set_vblist(nullptr, 1), 0);
  set_request_id(nullptr, 1);  // null PDUs are ignored
  clear_error_status(nullptr);
}

TEST(Pdu, CopiesAndSelfAssignment) {
  Vb two[] = {vb_of("1.1", 1), vb_of("1.2", 2)};
  Pdu a(two, 2);
  a.set_type(sNMP_PDU_SET);
  set_request_id(&a, 1234);
  set_error_status(&a, 3);
  a.set_notify_id(Oid("1.3.6.1.6.3.1.1.5.1"));
  a.set_notify_enterprise(Oid("1.3.6.1.4.1.9"));
  a.set_notify_timestamp(TimeTicks(42UL));
  a.set_context_name("ctx");
  a.set_context_engine_id(OctetStr("eng"));
  a.set_security_level(3);
  a.set_message_id(9);
  a.set_maxsize_scopedpdu(1500);

  Pdu& alias = a;
  a = alias;
  EXPECT_EQ(oids(a), "1.1 1.2");
  EXPECT_EQ(a.get_request_id(), 1234u);

  const Pdu copy(a);
  Pdu assigned;
  assigned += vb_of("9.9", 9);
  assigned = a;
  for (const Pdu* p : {static_cast<const Pdu*>(&copy), static_cast<const Pdu*>(&assigned)}) {
    EXPECT_EQ(oids(*p), "1.1 1.2");
    EXPECT_EQ(p->get_type(), sNMP_PDU_SET);
    EXPECT_EQ(p->get_request_id(), 1234u);
    EXPECT_EQ(p->get_error_status(), 3);
    Oid id;
    p->get_notify_id(id);
    EXPECT_STREQ(id.get_printable(), "1.3.6.1.6.3.1.1.5.1");
    p->get_notify_enterprise(id);
    EXPECT_STREQ(id.get_printable(), "1.3.6.1.4.1.9");
    TimeTicks ts;
    p->get_notify_timestamp(ts);
    EXPECT_EQ((unsigned long)ts, 42u);
    EXPECT_TRUE(p->get_context_name() == "ctx");
    EXPECT_TRUE(p->get_context_engine_id() == "eng");
    EXPECT_EQ(p->get_security_level(), 3);
    EXPECT_EQ(p->get_message_id(), 9u);
    EXPECT_EQ(p->get_maxsize_scopedpdu(), 1500u);
    EXPECT_TRUE(p->valid());
  }
  // Deep copies: changing one leaves the other.
  assigned.delete_vb(0);
  EXPECT_EQ(oids(a), "1.1 1.2");
}

// Fills `pdu` with bindings that hold a little of everything: values of every
// class, exceptions, long names, and the printed texts of both.
void fill_with_everything(Pdu& pdu) {
  for (int i = 0; i < PDU_MAX_VBS; ++i) {
    Vb vb(Oid("1.3.6.1.4.1.32473.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16.17.18.19.20.21.22.23.24.25.26.27"));
    switch (i % 6) {
      case 0: vb.set_value(std::string(300, 'x').c_str()); break;
      case 1: vb.set_value(Oid("1.3.6.1.2.1.2.2.1.1.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16.17.18.19.20.21.22")); break;
      case 2: vb.set_value(Counter64(7, 8)); break;
      case 3: vb.set_value(IpAddress("10.1.2.3")); break;
      case 4: vb.set_syntax(sNMP_SYNTAX_NOSUCHINSTANCE); break;
      default: vb.set_value(-5L); break;
    }
    pdu += vb;
    pdu[i].get_printable_oid();
    pdu[i].get_printable_value();
  }
}

// A freed Pdu's bindings are kept for the thread's next Pdus (a walk frees
// and decodes tens an answer). Whatever a kept binding held, every way a Pdu
// takes bindings must give exactly the bindings it was given.
TEST(Pdu, BindingsOfFreedPdusComeBackAsGiven) {
  for (int round = 0; round < 3; ++round) {
    {
      Pdu old[3];
      for (Pdu& p : old) fill_with_everything(p);
    }
    const Vb plain(Oid("1.3.6.1.2.1.1.5.0"));
    const Vb number = vb_of("1.3.6.1.2.1.1.7.0", 72);
    const Vb both[] = {plain, number};
    Pdu added;
    added += plain;
    added += number;
    const Pdu listed(both, 2);
    Pdu set;
    set.set_vblist(both, 2);
    Pdu replaced(both, 2);
    replaced.set_vb(number, 0);
    replaced.set_vb(plain, 0);
    const Pdu copied(added);
    Pdu assigned;
    assigned = listed;
    const Pdu* const all[] = {&added, &listed, &set, &replaced, &copied, &assigned};
    for (const Pdu* p : all) {
      ASSERT_EQ(p->get_vb_count(), 2);
      const Vb& first = (*p)[0];
      EXPECT_STREQ(first.get_printable_oid(), "1.3.6.1.2.1.1.5.0");
      EXPECT_EQ(first.get_syntax(), sNMP_SYNTAX_NULL);
      EXPECT_EQ(first.get_exception_status(), 0u);
      EXPECT_EQ(first.get_value_ptr(), nullptr);
      EXPECT_STREQ(first.get_printable_value(), "");
      const Vb& second = (*p)[1];
      EXPECT_STREQ(second.get_printable_oid(), "1.3.6.1.2.1.1.7.0");
      EXPECT_EQ(second.get_syntax(), sNMP_SYNTAX_INT);
      long value = 0;
      EXPECT_EQ(second.get_value(value), 0);
      EXPECT_EQ(value, 72);
      EXPECT_STREQ(second.get_printable_value(), "72");
    }
  }
}

// Pdus made on one thread and freed on another, and bindings kept by a thread
// that then ends (the sanitizers report a leak or a race).
TEST(Pdu, BindingsCrossThreadsAndEndWithTheirThread) {
  Pdu made_here;
  fill_with_everything(made_here);
  Pdu made_there;
  std::thread worker([&] {
    {
      Pdu taken(std::move(made_here));
    }
    Pdu own;
    fill_with_everything(own);
    made_there = std::move(own);
    Pdu kept_until_the_end;
    fill_with_everything(kept_until_the_end);
  });
  worker.join();
  EXPECT_EQ(made_here.get_vb_count(), 0);
  ASSERT_EQ(made_there.get_vb_count(), PDU_MAX_VBS);
  EXPECT_EQ(made_there[3].get_syntax(), sNMP_SYNTAX_IPADDR);
  EXPECT_STREQ(made_there[3].get_printable_value(), "10.1.2.3");
}

}  // namespace
