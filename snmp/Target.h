// Where and how a request goes: address, time-out, retries, version and the
// credentials (communities for v1/v2c, user and engine id for v3).
#pragma once

#include "Address.h"
#include "OctetStr.h"

class SnmpTarget {
 public:
  SnmpTarget();
  SnmpTarget(const SnmpTarget& other) = default;
  virtual ~SnmpTarget();

  virtual target_type get_type() const { return ttype; }
  virtual int valid() const { return validity; }
  virtual void set_retry(int r) { retries = r; }
  virtual int get_retry() const { return retries; }
  // Units of 10 ms.
  virtual void set_timeout(unsigned long t) { timeout = static_cast<uint32_t>(t); }
  virtual unsigned long get_timeout() const { return timeout; }
  // Class-wide defaults; only targets constructed afterwards take them.
  virtual void set_default_timeout(unsigned long t);
  virtual void set_default_retries(int r);
  virtual SnmpTarget* clone() const;
  virtual int get_address(GenAddress& out) const;
  virtual int set_address(const Address& address);
  virtual snmp_version get_version() const { return version; }
  virtual void set_version(snmp_version v) { version = v; }

 protected:
  SnmpTarget& operator=(const SnmpTarget& other) = default;
  bool same_base(const SnmpTarget& other) const;
  // For the constructors of the derived targets: validity follows the address.
  void take_address(const Address& address);
  // The part of resolve_to_C/resolve_to_U every target shares; the caller checks validity.
  int resolve_base(GenAddress& address, unsigned long& t, int& r, unsigned char& v) const;

  int validity;
  uint32_t timeout;
  int retries;
  GenAddress my_address;
  snmp_version version;
  target_type ttype;

  static uint32_t default_timeout;
  static int default_retries;

  friend bool operator==(const SnmpTarget& a, const SnmpTarget& b);
};

// Equal printable addresses, time-outs, retries and versions.
bool operator==(const SnmpTarget& a, const SnmpTarget& b);

class CTarget : public SnmpTarget {
 public:
  CTarget();
  CTarget(const Address& address, const char* read_community = SNMP_DEFAULT_COMMUNITY,
          const char* write_community = SNMP_DEFAULT_COMMUNITY);
  CTarget(const Address& address, const OctetStr& read_community, const OctetStr& write_community);
  CTarget(const CTarget& other) = default;
  ~CTarget() override;

  SnmpTarget* clone() const override;
  virtual bool operator==(const CTarget& other) const;
  CTarget& operator=(const CTarget& other) = default;

  const char* get_readcommunity() const { return read_community.get_printable(); }
  void get_readcommunity(OctetStr& out) const { out = read_community; }
  const char* get_writecommunity() const { return write_community.get_printable(); }
  void get_writecommunity(OctetStr& out) const { out = write_community; }
  void set_readcommunity(const char* c) { read_community = c; }
  void set_readcommunity(const OctetStr& c) { read_community = c; }
  void set_writecommunity(const char* c) { write_community = c; }
  void set_writecommunity(const OctetStr& c) { write_community = c; }

  // Fills every output and returns 1 when valid; else returns 0 and leaves them.
  int resolve_to_C(OctetStr& read_comm, OctetStr& write_comm, GenAddress& address, unsigned long& t,
                   int& r, unsigned char& v) const;

 protected:
  OctetStr read_community;
  OctetStr write_community;
};

class UTarget : public SnmpTarget {
 public:
  UTarget();
  UTarget(const Address& address, const char* sec_name, int sec_model);
  UTarget(const Address& address, const OctetStr& sec_name, int sec_model);
  explicit UTarget(const Address& address);
  UTarget(const UTarget& other) = default;
  ~UTarget() override;

  SnmpTarget* clone() const override;
  // Forgets the engine id: it belongs to the old agent.
  int set_address(const Address& address) override;
  virtual bool operator==(const UTarget& other) const;
  UTarget& operator=(const UTarget& other) = default;

  const OctetStr& get_security_name() const { return security_name; }
  void get_security_name(OctetStr& out) const { out = security_name; }
  void set_security_name(const char* name) { security_name = name; }
  void set_security_name(const OctetStr& name) { security_name = name; }
  int get_security_model() const { return security_model; }
  void set_security_model(int model) { security_model = model; }
  const OctetStr& get_engine_id() const { return engine_id; }
  void get_engine_id(OctetStr& out) const { out = engine_id; }
  void set_engine_id(const char* id) { engine_id = id; }
  void set_engine_id(const OctetStr& id) { engine_id = id; }

  int resolve_to_U(OctetStr& sec_name, int& sec_model, GenAddress& address, unsigned long& t, int& r,
                   unsigned char& v) const;

 protected:
  OctetStr security_name;
  int security_model;
  OctetStr engine_id;
};
