#include "Target.h"

#include <cstring>
#include <new>

uint32_t SnmpTarget::default_timeout = SNMP_DEFAULT_TIMEOUT;
int SnmpTarget::default_retries = SNMP_DEFAULT_RETRIES;

// ---- SnmpTarget ----------------------------------------------------------------

SnmpTarget::SnmpTarget()
    : validity(0), timeout(default_timeout), retries(default_retries), version(version1), ttype(type_base) {}

SnmpTarget::~SnmpTarget() {}

void SnmpTarget::set_default_timeout(unsigned long t) { default_timeout = static_cast<uint32_t>(t); }

void SnmpTarget::set_default_retries(int r) { default_retries = r; }

SnmpTarget* SnmpTarget::clone() const {
  SnmpTarget* copy = new (std::nothrow) SnmpTarget();
  if (!copy) return nullptr;
  copy->timeout = timeout;
  copy->retries = retries;
  copy->my_address = my_address;
  copy->validity = my_address.valid();
  copy->version = version;
  return copy;
}

int SnmpTarget::get_address(GenAddress& out) const {
  if (!validity) return 0;
  out = my_address;
  return 1;
}

int SnmpTarget::set_address(const Address& address) {
  my_address = address;
  validity = my_address.valid() ? 1 : 0;
  return validity;
}

bool SnmpTarget::same_base(const SnmpTarget& other) const {
  return std::strcmp(my_address.get_printable(), other.my_address.get_printable()) == 0 &&
         timeout == other.timeout && retries == other.retries && version == other.version;
}

void SnmpTarget::take_address(const Address& address) {
  my_address = GenAddress(address);
  validity = my_address.valid() ? 1 : 0;
}

int SnmpTarget::resolve_base(GenAddress& address, unsigned long& t, int& r, unsigned char& v) const {
  address = my_address;
  t = timeout;
  r = retries;
  v = static_cast<unsigned char>(version);
  return 1;
}

bool operator==(const SnmpTarget& a, const SnmpTarget& b) { return a.same_base(b); }

// ---- CTarget -------------------------------------------------------------------

CTarget::CTarget() : read_community(SNMP_DEFAULT_COMMUNITY), write_community(SNMP_DEFAULT_COMMUNITY) {
  ttype = type_ctarget;
}

CTarget::CTarget(const Address& address, const char* read_comm, const char* write_comm)
    : CTarget(address, OctetStr(read_comm), OctetStr(write_comm)) {}

CTarget::CTarget(const Address& address, const OctetStr& read_comm, const OctetStr& write_comm)
    : read_community(read_comm), write_community(write_comm) {
  ttype = type_ctarget;
  take_address(address);
}

CTarget::~CTarget() {}

SnmpTarget* CTarget::clone() const { return new (std::nothrow) CTarget(*this); }

bool CTarget::operator==(const CTarget& other) const {
  return read_community == other.read_community && write_community == other.write_community && same_base(other);
}

int CTarget::resolve_to_C(OctetStr& read_comm, OctetStr& write_comm, GenAddress& address, unsigned long& t, int& r,
                          unsigned char& v) const {
  if (!validity) return 0;
  read_comm = read_community;
  write_comm = write_community;
  return resolve_base(address, t, r, v);
}

// ---- UTarget -------------------------------------------------------------------

UTarget::UTarget() : security_name("initial"), security_model(SNMP_SECURITY_MODEL_USM) {
  ttype = type_utarget;
  version = version3;
}

UTarget::UTarget(const Address& address, const char* sec_name, int sec_model)
    : UTarget(address, OctetStr(sec_name), sec_model) {}

UTarget::UTarget(const Address& address, const OctetStr& sec_name, int sec_model)
    : security_name(sec_name), security_model(sec_model) {
  ttype = type_utarget;
  version = version3;
  take_address(address);
}

UTarget::UTarget(const Address& address) : UTarget() { take_address(address); }

UTarget::~UTarget() {}

SnmpTarget* UTarget::clone() const { return new (std::nothrow) UTarget(*this); }

int UTarget::set_address(const Address& address) {
  engine_id = "";
  return SnmpTarget::set_address(address);
}

bool UTarget::operator==(const UTarget& other) const {
  return security_name == other.security_name && security_model == other.security_model && same_base(other);
}

int UTarget::resolve_to_U(OctetStr& sec_name, int& sec_model, GenAddress& address, unsigned long& t, int& r,
                          unsigned char& v) const {
  if (!validity) return 0;
  sec_name = security_name;
  sec_model = security_model;
  return resolve_base(address, t, r, v);
}
