// Constants shared by every layer of the SNMP library: SMI syntax codes, PDU
// types, versions and the status codes that all operations return.
#pragma once

#include <cstdint>

// ---- SMI syntax codes (the BER tag of each value) --------------------------
#define sNMP_SYNTAX_INT 0x02
#define sNMP_SYNTAX_INT32 sNMP_SYNTAX_INT
#define sNMP_SYNTAX_BITS 0x03
#define sNMP_SYNTAX_OCTETS 0x04
#define sNMP_SYNTAX_NULL 0x05
#define sNMP_SYNTAX_OID 0x06
#define sNMP_SYNTAX_SEQUENCE 0x30
#define sNMP_SYNTAX_IPADDR 0x40
#define sNMP_SYNTAX_CNTR32 0x41
#define sNMP_SYNTAX_GAUGE32 0x42
#define sNMP_SYNTAX_UINT32 sNMP_SYNTAX_GAUGE32
#define sNMP_SYNTAX_TIMETICKS 0x43
#define sNMP_SYNTAX_OPAQUE 0x44
#define sNMP_SYNTAX_NSAPADDR 0x45
#define sNMP_SYNTAX_CNTR64 0x46
#define sNMP_SYNTAX_UINTEGER32 0x47
// SNMPv2 exceptions carried in a binding instead of a value.
#define sNMP_SYNTAX_NOSUCHOBJECT 0x80
#define sNMP_SYNTAX_NOSUCHINSTANCE 0x81
#define sNMP_SYNTAX_ENDOFMIBVIEW 0x82

// ---- PDU types -------------------------------------------------------------
#define sNMP_PDU_GET 0xA0
#define sNMP_PDU_GETNEXT 0xA1
#define sNMP_PDU_RESPONSE 0xA2
#define sNMP_PDU_SET 0xA3
#define sNMP_PDU_V1TRAP 0xA4
#define sNMP_PDU_GETBULK 0xA5
#define sNMP_PDU_INFORM 0xA6
#define sNMP_PDU_TRAP 0xA7
#define sNMP_PDU_REPORT 0xA8
// Inside the session an asynchronous request keeps one of these until it is
// encoded; the wire type is derived from it then.
#define sNMP_PDU_GET_ASYNC 21
#define sNMP_PDU_GETNEXT_ASYNC 22
#define sNMP_PDU_SET_ASYNC 23
#define sNMP_PDU_GETBULK_ASYNC 24
#define sNMP_PDU_INFORM_ASYNC 25

// ---- Limits ----------------------------------------------------------------
#define PDU_MAX_VBS 50          // bindings in one Pdu
#define SNMP_MSG_LENGTH 2048    // one message we encode
#define SNMP_MAX_DATAGRAM 65507 // one received message: the largest UDP payload over IPv4
#define ADDRBUF 40              // address bytes held by every Address
#define FRIENDLY_NAME_LEN 80    // host name kept by an IpAddress

// ---- Versions, targets, addresses ---------------------------------------
enum snmp_version { version1 = 0, version2c = 1, version3 = 3 };

enum target_type { type_base = 0, type_ctarget = 1, type_utarget = 2 };

enum addr_type {
  type_ip = 0,
  type_ipx = 1,
  type_udp = 2,
  type_ipxsock = 3,
  type_mac = 4,
  type_invalid = 5
};

#define SNMP_SECURITY_MODEL_V1 1
#define SNMP_SECURITY_MODEL_V2 2
#define SNMP_SECURITY_MODEL_USM 3

#define SNMP_DEFAULT_TIMEOUT 100  // units of 10 ms
#define SNMP_DEFAULT_RETRIES 1
#define SNMP_DEFAULT_COMMUNITY "quorin"
#define SNMP_DEFAULT_PORT 161
#define SNMP_TRAP_PORT 162

// ---- Agent error status (in a response) -----------------------------------
#define SNMP_ERROR_SUCCESS 0
#define SNMP_ERROR_TOO_BIG 1
#define SNMP_ERROR_NO_SUCH_NAME 2
#define SNMP_ERROR_BAD_VALUE 3
#define SNMP_ERROR_READ_ONLY 4
#define SNMP_ERROR_GENERAL_VB_ERR 5
#define SNMP_ERROR_NO_ACCESS 6
#define SNMP_ERROR_WRONG_TYPE 7
#define SNMP_ERROR_WRONG_LENGTH 8
#define SNMP_ERROR_WRONG_ENCODING 9
#define SNMP_ERROR_WRONG_VALUE 10
#define SNMP_ERROR_NO_CREATION 11
#define SNMP_ERROR_INCONSIST_VAL 12
#define SNMP_ERROR_RESOURCE_UNAVAIL 13
#define SNMP_ERROR_COMITFAIL 14
#define SNMP_ERROR_UNDO_FAIL 15
#define SNMP_ERROR_AUTH_ERR 16
#define SNMP_ERROR_NOT_WRITEABLE 17
#define SNMP_ERROR_INCONSIST_NAME 18

// ---- Library (class) errors -----------------------------------------------
#define SNMP_CLASS_SUCCESS 0
#define SNMP_CLASS_ERROR (-1)
#define SNMP_CLASS_RESOURCE_UNAVAIL (-2)
#define SNMP_CLASS_INTERNAL_ERROR (-3)
#define SNMP_CLASS_UNSUPPORTED (-4)
#define SNMP_CLASS_TIMEOUT (-5)
#define SNMP_CLASS_ASYNC_RESPONSE (-6)
#define SNMP_CLASS_NOTIFICATION (-7)
#define SNMP_CLASS_SESSION_DESTROYED (-8)
#define SNMP_CLASS_UNKNOWN (-9)
#define SNMP_CLASS_INVALID (-10)
#define SNMP_CLASS_INVALID_PDU (-11)
#define SNMP_CLASS_INVALID_TARGET (-12)
#define SNMP_CLASS_INVALID_CALLBACK (-13)
#define SNMP_CLASS_INVALID_REQID (-14)
#define SNMP_CLASS_INVALID_NOTIFYID (-15)
#define SNMP_CLASS_INVALID_OPERATION (-16)
#define SNMP_CLASS_INVALID_OID (-17)
#define SNMP_CLASS_INVALID_ADDRESS (-18)
#define SNMP_CLASS_ERR_STATUS_SET (-19)
#define SNMP_CLASS_TL_UNSUPPORTED (-20)
#define SNMP_CLASS_TL_IN_USE (-21)
#define SNMP_CLASS_TL_FAILED (-22)
#define SNMP_CLASS_SHUTDOWN (-23)

// ---- SNMPv3 message processing ---------------------------------------------
#define SNMPv3_MP_ERROR (-1400)
#define SNMPv3_MP_OK (-1401)
#define SNMPv3_MP_UNSUPPORTED_SECURITY_MODEL (-1402)
#define SNMPv3_MP_NOT_IN_TIME_WINDOW (-1403)
#define SNMPv3_MP_DOUBLED_MESSAGE (-1404)
#define SNMPv3_MP_INVALID_MESSAGE (-1405)
#define SNMPv3_MP_INVALID_ENGINEID (-1406)
#define SNMPv3_MP_NOT_INITIALIZED (-1407)
#define SNMPv3_MP_PARSE_ERROR (-1408)
#define SNMPv3_MP_UNKNOWN_MSGID (-1409)
#define SNMPv3_MP_MATCH_ERROR (-1410)
#define SNMPv3_MP_COMMUNITY_ERROR (-1411)
#define SNMPv3_MP_WRONG_USER_NAME (-1412)
#define SNMPv3_MP_BUILD_ERROR (-1413)
#define SNMPv3_MP_USM_ERROR (-1414)
#define SNMPv3_MP_UNKNOWN_PDU_HANDLERS (-1415)
#define SNMPv3_MP_UNAVAILABLE_CONTEXT (-1416)
#define SNMPv3_MP_UNKNOWN_CONTEXT (-1417)
#define SNMPv3_MP_REPORT_SENT (-1418)

// ---- SNMPv3 user-based security ---------------------------------------------
#define SNMPv3_USM_OK 1400
#define SNMPv3_USM_ERROR 1401
#define SNMPv3_USM_ERROR_CONFIGFILE 1402
#define SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL 1403
#define SNMPv3_USM_UNKNOWN_SECURITY_NAME 1404
#define SNMPv3_USM_ENCRYPTION_ERROR 1405
#define SNMPv3_USM_DECRYPTION_ERROR 1406
#define SNMPv3_USM_AUTHENTICATION_ERROR 1407
#define SNMPv3_USM_AUTHENTICATION_FAILURE 1408
#define SNMPv3_USM_PARSE_ERROR 1409
#define SNMPv3_USM_UNKNOWN_ENGINEID 1410
#define SNMPv3_USM_NOT_IN_TIME_WINDOW 1411
#define SNMPv3_USM_UNSUPPORTED_AUTHPROTOCOL 1412
#define SNMPv3_USM_UNSUPPORTED_PRIVPROTOCOL 1413
#define SNMPv3_USM_ADDRESS_ERROR 1414
