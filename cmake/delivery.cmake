# delivery.cmake: the `delivery` target, the folder a publisher ships and its archive:
#   <build>/delivery/tallyfield_update/        the installer, its seven fonts, the seven language
#                                              readmes, "update.dat" and its checksum list
#                                              "SHA256SUMS"
#   <build>/delivery/tallyfield_update_windows.zip   (Windows build) or
#   <build>/delivery/tallyfield_update_linux.tar.gz  (Linux build)
# "update.dat" and "SHA256SUMS" are packed from TLF_UPDATE_FILES by the program's own pack mode, in the Windows
# build through CMAKE_CROSSCOMPILING_EMULATOR (Wine, in the prefix <build>/wine-prefix). Not part
# of the default build: the publisher asks for it with `cmake --build <build> --target delivery`.
# Included by the top-level CMakeLists.txt; the work is done by tools/make_delivery.sh.

# What runs the build's programs here: nothing natively; in the Windows build the emulator (Wine)
# with a prefix of its own in the build folder. In a prefix shared with programs on a display,
# pack mode would join their desktop and wait for a click on its message box, or leave behind a
# desktop without a display on which the next program's window would never be seen.
if(CMAKE_CROSSCOMPILING_EMULATOR MATCHES "wine")
  set(tlf_runner ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all
      WINEDLLOVERRIDES=mscoree,mshtml= ${CMAKE_CROSSCOMPILING_EMULATOR})
else()
  set(tlf_runner ${CMAKE_CROSSCOMPILING_EMULATOR})
endif()

set(TLF_UPDATE_FILES "" CACHE PATH
    "Folder of the update's loose files (the 46 packed files and readme_eng.txt ... readme_sve.txt) for the delivery target; empty: a sample update made by make_sample_update")

if(TLF_UPDATE_FILES)
  set(tlf_update_files ${TLF_UPDATE_FILES})
  set(tlf_update_files_made)
else()
  if(NOT TARGET make_sample_update)
    # A cross build makes no build-machine tools: the generator is built for Windows and run
    # through the emulator like the program itself.
    add_executable(make_sample_update EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tools/make_sample_update.cpp)
  endif()
  set(tlf_update_files ${CMAKE_BINARY_DIR}/sample_update)
  set(tlf_update_files_made ${CMAKE_BINARY_DIR}/sample_update.stamp)
  add_custom_command(OUTPUT ${tlf_update_files_made}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${tlf_update_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${tlf_update_files}
    COMMAND ${tlf_runner} $<TARGET_FILE:make_sample_update> ${tlf_update_files}
    COMMAND ${CMAKE_COMMAND} -E touch ${tlf_update_files_made}
    DEPENDS make_sample_update
    COMMENT "Making the sample update in ${tlf_update_files}"
    VERBATIM)
endif()

if(WIN32)
  set(tlf_delivery_archive ${CMAKE_BINARY_DIR}/delivery/tallyfield_update_windows.zip)
else()
  set(tlf_delivery_archive ${CMAKE_BINARY_DIR}/delivery/tallyfield_update_linux.tar.gz)
endif()

# The program as shipped, made by tools/prepare_program.sh before the delivery folder is touched:
# stripped of its debug information, which stays in the build for reading crash reports
# (<build>/delivery/program/<program>.debug, beside the shipped program's copy), and, in the
# Windows build given TLF_CODE_SIGNING_CERT, signed with Authenticode. The certificate's password
# comes from the environment variable TLF_CODE_SIGNING_PASSWORD when the target runs; it is never
# stored in the build. A failure fails the target and leaves the last delivery as it was.
set(TLF_CODE_SIGNING_CERT "" CACHE FILEPATH
    "PKCS#12 file (.p12) of the certificate the delivery target signs the Windows program with (password: environment variable TLF_CODE_SIGNING_PASSWORD); empty: unsigned")
set(TLF_TIMESTAMP_URL "" CACHE STRING
    "RFC 3161 time-stamp server for the Windows program's signature; empty: no time stamp")
set(tlf_shipped_program ${CMAKE_BINARY_DIR}/delivery/program/tlfupdate${CMAKE_EXECUTABLE_SUFFIX})
set(tlf_signing)
set(tlf_signing_cert)
if(TLF_CODE_SIGNING_CERT AND NOT WIN32)
  message(WARNING "TLF_CODE_SIGNING_CERT: only the Windows program is signed; the Linux delivery stays unsigned")
elseif(TLF_CODE_SIGNING_CERT)
  if(NOT EXISTS ${TLF_CODE_SIGNING_CERT})
    message(FATAL_ERROR "TLF_CODE_SIGNING_CERT: no file at ${TLF_CODE_SIGNING_CERT}")
  endif()
  set(tlf_signing ${TLF_CODE_SIGNING_CERT} ${TLF_TIMESTAMP_URL})
  set(tlf_signing_cert ${TLF_CODE_SIGNING_CERT})
endif()
add_custom_command(OUTPUT ${tlf_shipped_program}
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/prepare_program.sh
          $<TARGET_FILE:tlfupdate> ${tlf_shipped_program} ${CMAKE_OBJCOPY} ${tlf_signing}
  DEPENDS tlfupdate ${CMAKE_SOURCE_DIR}/tools/prepare_program.sh ${tlf_signing_cert}
  COMMENT "Stripping the program to ship"
  VERBATIM)

# The checksum list's signature: given TLF_SIGNING_KEY (checked at configure time by
# cmake/publisher_keys.cmake), make_delivery.sh writes "SHA256SUMS.sig" and verifies it.
set(tlf_list_signing ${CMAKE_COMMAND} -E env "TLF_SIGNING_KEY=${tlf_list_signing_key}")

add_custom_target(delivery
  COMMAND ${tlf_list_signing} bash ${CMAKE_SOURCE_DIR}/tools/make_delivery.sh
          ${tlf_shipped_program} ${tlf_update_files} ${CMAKE_SOURCE_DIR}/data/fonts
          ${CMAKE_BINARY_DIR}/delivery/tallyfield_update ${tlf_delivery_archive}
          ${tlf_runner}
  DEPENDS ${tlf_shipped_program} ${tlf_update_files_made}
  COMMENT "Assembling the delivery folder"
  VERBATIM)
