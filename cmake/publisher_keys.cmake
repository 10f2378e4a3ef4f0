# publisher_keys.cmake: the publisher's public keys built into the program (package/publisher_keys.h)
# and the key the delivery signs with. Included by the top-level CMakeLists.txt.
#
#   -DTLF_PUBLISHER_KEYS=a.pub;b.pub   PEM public keys (`openssl pkey -pubout`), each P-256: the
#                                      program installs only updates signed by one of them
#   -DTLF_SIGNING_KEY=publisher.key    the private key the delivery target signs "SHA256SUMS"
#                                      with (cmake/delivery.cmake, tools/make_delivery.sh)
# Without TLF_PUBLISHER_KEYS the table is empty and the program checks no signature. The PEM files
# are turned into DER by openssl at configure time; anything but a P-256 public key stops the
# configuration. A key's fingerprint is the SHA-256 of its DER.

set(TLF_PUBLISHER_KEYS "" CACHE FILEPATH "PEM public keys (P-256, ';'-separated) built into the program; empty: no signature check")
set(TLF_SIGNING_KEY "" CACHE FILEPATH "PEM private key (P-256) with which the delivery target signs SHA256SUMS; empty: unsigned")

# The DER of every P-256 public key begins so: SEQUENCE, id-ecPublicKey with prime256v1, a BIT
# STRING of 66 bytes, the uncompressed point's 0x04; 91 bytes in all.
set(tlf_p256_key_start "3059301306072a8648ce3d020106082a8648ce3d03010703420004")

function(tlf_openssl out)
  find_program(TLF_OPENSSL openssl)
  if(NOT TLF_OPENSSL)
    message(FATAL_ERROR "openssl is needed to read the keys of TLF_PUBLISHER_KEYS and TLF_SIGNING_KEY")
  endif()
  set(${out} ${TLF_OPENSSL} PARENT_SCOPE)
endfunction()

# tlf_public_key_der(PEM DER FINGERPRINT_VAR HEX_VAR [-pubin]): writes the DER of the public key
# of PEM (a public key with -pubin, else a private key) and gives its fingerprint and hex digits.
function(tlf_public_key_der pem der fingerprint_var hex_var)
  tlf_openssl(openssl)
  if(NOT EXISTS "${pem}")
    message(FATAL_ERROR "Key file ${pem} does not exist")
  endif()
  if(ARGN)
    set(what "public key")
  else()
    set(what "private key")
  endif()
  execute_process(COMMAND ${openssl} pkey ${ARGN} -in ${pem} -pubout -outform DER -out ${der}
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${pem} is not a PEM ${what} that openssl reads:\n${error}")
  endif()
  file(READ ${der} hex HEX)
  string(LENGTH "${hex}" digits)
  if(NOT digits EQUAL 182 OR NOT hex MATCHES "^${tlf_p256_key_start}")
    message(FATAL_ERROR "${pem} is not a P-256 (prime256v1) ${what}: make one with\n"
                        "  openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out publisher.key")
  endif()
  file(SHA256 ${der} fingerprint)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${pem})
  set(${fingerprint_var} ${fingerprint} PARENT_SCOPE)
  set(${hex_var} ${hex} PARENT_SCOPE)
endfunction()

# tlf_write_publisher_keys(OUTPUT FINGERPRINTS_VAR PEM...): the source of the key table of
# package/publisher_keys.h. Also called by tests/CMakeLists.txt for the program with the test key.
function(tlf_write_publisher_keys output fingerprints_var)
  set(arrays)
  set(entries)
  set(fingerprints)
  set(index 0)
  foreach(pem ${ARGN})
    get_filename_component(pem ${pem} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
    tlf_public_key_der(${pem} ${output}.${index}.der fingerprint hex -pubin)
    string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const uint8_t Key${index}[] = {${bytes}};  // ${pem}\n")
    string(APPEND entries "    {Key${index}, sizeof Key${index}, \"${fingerprint}\"},\n")
    list(APPEND fingerprints ${fingerprint})
    math(EXPR index "${index} + 1")
  endforeach()
  if(index EQUAL 0)
    set(entries "    {nullptr, 0, \"\"},  // no key: a placeholder, the table is empty\n")
  endif()
  file(CONFIGURE OUTPUT ${output} @ONLY CONTENT
"// Made by cmake/publisher_keys.cmake from TLF_PUBLISHER_KEYS; not to be edited.
#include \"package/publisher_keys.h\"

namespace {
@arrays@}  // namespace

const PublisherKey PublisherKeys[] = {
@entries@};
const int PublisherKeyCount = @index@;
")
  set(${fingerprints_var} ${fingerprints} PARENT_SCOPE)
endfunction()

tlf_write_publisher_keys(${CMAKE_BINARY_DIR}/generated/publisher_keys_data.cpp tlf_publisher_fingerprints ${TLF_PUBLISHER_KEYS})
target_sources(tlf_core PRIVATE ${CMAKE_BINARY_DIR}/generated/publisher_keys_data.cpp)

# A delivery signed by a key the program does not hold would be refused by its own installer.
if(TLF_SIGNING_KEY)
  get_filename_component(tlf_list_signing_key ${TLF_SIGNING_KEY} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
  tlf_public_key_der(${tlf_list_signing_key} ${CMAKE_BINARY_DIR}/generated/signing_key.der tlf_list_signing_fingerprint tlf_list_signing_hex)
  if(TLF_PUBLISHER_KEYS AND NOT tlf_list_signing_fingerprint IN_LIST tlf_publisher_fingerprints)
    message(FATAL_ERROR "TLF_SIGNING_KEY ${tlf_list_signing_key} is none of the keys of TLF_PUBLISHER_KEYS: "
                        "the program would refuse the update it signs")
  endif()
else()
  set(tlf_list_signing_key "")
endif()
