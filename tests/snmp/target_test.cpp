// Targets: defaults, addresses, equality, resolution.
#include <gtest/gtest.h>

#include <memory>

#include "Target.h"

namespace {

TEST(Target, CommunityTargetDefaults) {
  const CTarget t;
  EXPECT_FALSE(t.valid());
  EXPECT_EQ(t.get_timeout(), 100u);
  EXPECT_EQ(t.get_retry(), 1);
  EXPECT_EQ(t.get_version(), version1);
  EXPECT_EQ(t.get_type(), type_ctarget);
  EXPECT_STREQ(t.get_readcommunity(), "quorin");
  EXPECT_STREQ(t.get_writecommunity(), "quorin");
  GenAddress out("10.0.0.1");
  EXPECT_EQ(t.get_address(out), 0);
  EXPECT_STREQ(out.get_printable(), "10.0.0.1");  // left as it was
  OctetStr rc, wc;
  unsigned long timeout = 7;
  int retries = 7;
  unsigned char version = 7;
  EXPECT_EQ(t.resolve_to_C(rc, wc, out, timeout, retries, version), 0);
  EXPECT_EQ(timeout, 7u);
}

TEST(Target, SetAddress) {
  CTarget t;
  EXPECT_EQ(t.set_address(UdpAddress("10.1.2.3/161")), 1);
  EXPECT_TRUE(t.valid());
  GenAddress out;
  ASSERT_EQ(t.get_address(out), 1);
  EXPECT_STREQ(out.get_printable(), "10.1.2.3/161");
  EXPECT_EQ(t.set_address(IpAddress("10.1.2")), 0);
  EXPECT_FALSE(t.valid());
  EXPECT_EQ(t.set_address(GenAddress("10.1.2.4")), 1);
  ASSERT_EQ(t.get_address(out), 1);
  EXPECT_EQ(out.get_type(), type_ip);
}

TEST(Target, ConstructedWithAnAddressAndCommunities) {
  CTarget t(IpAddress("10.1.2.3"), "public", "private");
  EXPECT_TRUE(t.valid());
  OctetStr rc, wc;
  GenAddress address;
  unsigned long timeout = 0;
  int retries = 0;
  unsigned char version = 9;
  ASSERT_EQ(t.resolve_to_C(rc, wc, address, timeout, retries, version), 1);
  EXPECT_TRUE(rc == "public");
  EXPECT_TRUE(wc == "private");
  EXPECT_STREQ(address.get_printable(), "10.1.2.3");
  EXPECT_EQ(timeout, 100u);
  EXPECT_EQ(retries, 1);
  EXPECT_EQ(version, 0);
  EXPECT_FALSE(CTarget(IpAddress("x.y")).valid());
  CTarget plain(UdpAddress("10.1.2.3/1161"));
  EXPECT_STREQ(plain.get_readcommunity(), "quorin");
}

TEST(Target, DefaultsAffectOnlyLaterTargets) {
  CTarget before;
  before.set_default_timeout(300);
  before.set_default_retries(4);
  CTarget after;
  UTarget user;
  EXPECT_EQ(before.get_timeout(), 100u);
  EXPECT_EQ(after.get_timeout(), 300u);
  EXPECT_EQ(after.get_retry(), 4);
  EXPECT_EQ(user.get_timeout(), 300u);
  after.set_default_timeout(100);
  after.set_default_retries(1);
}

TEST(Target, Equality) {
  const UdpAddress a("10.1.2.3/161");
  CTarget x(a, "public", "w1"), y(a, "public", "w2");
  EXPECT_FALSE(x == y);
  y.set_writecommunity("w1");
  EXPECT_TRUE(x == y);
  y.set_retry(3);
  EXPECT_FALSE(x == y);

  SnmpTarget p, q;
  p.set_address(UdpAddress("10.1.2.3/161"));
  q.set_address(GenAddress("10.1.2.3:161"));
  EXPECT_TRUE(p == q);
  q.set_version(version2c);
  EXPECT_FALSE(p == q);

  UTarget u1(a, "alice", 3), u2(a, "alice", 3);
  EXPECT_TRUE(u1 == u2);
  u2.set_security_model(2);
  EXPECT_FALSE(u1 == u2);
}

TEST(Target, UserTarget) {
  const UTarget d;
  EXPECT_FALSE(d.valid());
  EXPECT_TRUE(d.get_security_name() == "initial");
  EXPECT_EQ(d.get_security_model(), 3);
  EXPECT_EQ(d.get_engine_id().len(), 0u);
  EXPECT_EQ(d.get_version(), version3);
  EXPECT_EQ(d.get_type(), type_utarget);

  UTarget u(UdpAddress("10.1.2.3/161"), "bob", 3);
  u.set_engine_id("engine");
  EXPECT_TRUE(u.get_engine_id() == "engine");
  u.set_address(UdpAddress("10.1.2.4/161"));
  EXPECT_EQ(u.get_engine_id().len(), 0u);
  OctetStr name;
  int model = 0;
  GenAddress address;
  unsigned long timeout = 0;
  int retries = 0;
  unsigned char version = 0;
  ASSERT_EQ(u.resolve_to_U(name, model, address, timeout, retries, version), 1);
  EXPECT_TRUE(name == "bob");
  EXPECT_EQ(version, 3);
  EXPECT_STREQ(address.get_printable(), "10.1.2.4/161");
  EXPECT_TRUE(UTarget(UdpAddress("10.1.2.3/161")).get_security_name() == "initial");
}

TEST(Target, ClonesKeepTheirKind) {
  CTarget c(UdpAddress("10.1.2.3/161"), "r", "w");
  c.set_timeout(250);
  std::unique_ptr<SnmpTarget> cc(c.clone());
  ASSERT_EQ(cc->get_type(), type_ctarget);
  EXPECT_TRUE(*static_cast<CTarget*>(cc.get()) == c);
  UTarget u(UdpAddress("10.1.2.3/161"), "bob", 3);
  std::unique_ptr<SnmpTarget> uc(u.clone());
  ASSERT_EQ(uc->get_type(), type_utarget);
  EXPECT_TRUE(*static_cast<UTarget*>(uc.get()) == u);
  SnmpTarget s;
  s.set_address(UdpAddress("10.1.2.3/161"));
  std::unique_ptr<SnmpTarget> sc(s.clone());
  EXPECT_EQ(sc->get_type(), type_base);
  EXPECT_TRUE(*sc == s);
  EXPECT_TRUE(sc->valid());
}

}  // namespace
