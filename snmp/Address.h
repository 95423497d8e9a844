// Network addresses as SNMP values: IPv4, UDP (IPv4 and port), IPX, IPX with
// socket, MAC, and GenAddress, which recognises the kind from text and holds
// one concrete address.
#pragma once

#include <string>

#include "SnmpSyntax.h"

class GenAddress;

class Address : public SnmpSyntax {
 public:
  Address();
  Address(const Address& other);
  using SnmpSyntax::operator=;

  int valid() const override { return valid_flag; }
  virtual operator const char*() const = 0;
  virtual addr_type get_type() const = 0;
  virtual unsigned int hashFunction() const { return 0; }

  // Byte i of the address buffer; an index past the buffer gives byte 0.
  unsigned char& operator[](int i) { return address_buffer[i >= 0 && i < ADDRBUF ? i : 0]; }

 protected:
  Address& operator=(const Address&) = default;
  virtual int parse_address(const char* text) = 0;
  virtual void format_output() = 0;
  // Leading spaces are dropped and the text ends at the next space.
  static std::string trim_white_space(const char* text);
  // Points the value area at this object's buffer with the given length.
  void set_length(SmiUINT32 length);

  int valid_flag;
  unsigned char address_buffer[ADDRBUF];
};

bool operator==(const Address& a, const Address& b);
bool operator!=(const Address& a, const Address& b);
bool operator<(const Address& a, const Address& b);
bool operator<=(const Address& a, const Address& b);
bool operator>(const Address& a, const Address& b);
bool operator>=(const Address& a, const Address& b);
// A null text equals an invalid address and sorts before every valid one.
bool operator==(const Address& a, const char* b);
bool operator!=(const Address& a, const char* b);
bool operator<(const Address& a, const char* b);
bool operator<=(const Address& a, const char* b);
bool operator>(const Address& a, const char* b);
bool operator>=(const Address& a, const char* b);

class IpAddress : public Address {
 public:
  IpAddress();
  IpAddress(const char* text);
  IpAddress(const IpAddress& other);
  IpAddress(const GenAddress& other);

  const char* get_printable() const override { return ip_text; }
  operator const char*() const override { return ip_text; }
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_IPADDR; }
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  addr_type get_type() const override { return type_ip; }

  IpAddress& operator=(const IpAddress& other);

  // Host name of the address, looked up once; empty when unknown.
  const char* friendly_name(int& status);
  void mask(const IpAddress& netmask);

 protected:
  int parse_address(const char* text) override;
  void format_output() override;
  int parse_dotted_ipstring(const char* text);
  int addr_to_friendly();
  void copy_ip(const IpAddress& other);

  char ip_text[80];
  std::string iv_friendly_name;
  int iv_friendly_name_status;
};

class UdpAddress : public IpAddress {
 public:
  UdpAddress();
  UdpAddress(const char* text);
  UdpAddress(const UdpAddress& other);
  UdpAddress(const IpAddress& ip);
  UdpAddress(const GenAddress& other);

  const char* get_printable() const override { return udp_text; }
  operator const char*() const override { return udp_text; }
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_OCTETS; }
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  addr_type get_type() const override { return type_udp; }

  UdpAddress& operator=(const UdpAddress& other);

  void set_port(unsigned short port);
  unsigned short get_port() const;

 protected:
  int parse_address(const char* text) override;
  void format_output() override;

  char udp_text[80];
};

class MacAddress : public Address {
 public:
  MacAddress();
  MacAddress(const char* text);
  MacAddress(const MacAddress& other);
  MacAddress(const GenAddress& other);

  const char* get_printable() const override { return mac_text; }
  operator const char*() const override { return mac_text; }
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_OCTETS; }
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  addr_type get_type() const override { return type_mac; }
  unsigned int hashFunction() const override;

  MacAddress& operator=(const MacAddress& other);

 protected:
  int parse_address(const char* text) override;
  void format_output() override;

  char mac_text[20];
};

class IpxAddress : public Address {
 public:
  IpxAddress();
  IpxAddress(const char* text);
  IpxAddress(const IpxAddress& other);
  IpxAddress(const GenAddress& other);

  const char* get_printable() const override { return ipx_text; }
  operator const char*() const override { return ipx_text; }
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_OCTETS; }
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  addr_type get_type() const override { return type_ipx; }

  IpxAddress& operator=(const IpxAddress& other);

  int get_hostid(MacAddress& mac) const;

 protected:
  int parse_address(const char* text) override;
  void format_output() override;

  char ipx_text[32];
};

class IpxSockAddress : public IpxAddress {
 public:
  IpxSockAddress();
  IpxSockAddress(const char* text);
  IpxSockAddress(const IpxSockAddress& other);
  IpxSockAddress(const IpxAddress& ipx);
  IpxSockAddress(const GenAddress& other);

  const char* get_printable() const override { return ipxsock_text; }
  operator const char*() const override { return ipxsock_text; }
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_OCTETS; }
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  addr_type get_type() const override { return type_ipxsock; }

  IpxSockAddress& operator=(const IpxSockAddress& other);

  void set_socket(unsigned short socket);
  unsigned short get_socket() const;

 protected:
  int parse_address(const char* text) override;
  void format_output() override;

  char ipxsock_text[48];
};

class GenAddress : public Address {
 public:
  GenAddress();
  GenAddress(const char* text);
  GenAddress(const Address& other);
  GenAddress(const GenAddress& other);
  ~GenAddress() override;

  const char* get_printable() const override;
  operator const char*() const override { return get_printable(); }
  SmiUINT32 get_syntax() const override;
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  addr_type get_type() const override;

  GenAddress& operator=(const GenAddress& other);

  // The held concrete address, or null.
  const Address* address() const { return held; }

 protected:
  int parse_address(const char* text) override;
  void format_output() override;

 private:
  void hold(Address* address);

  Address* held = nullptr;
};
