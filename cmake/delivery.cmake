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

add_custom_target(delivery
  COMMAND bash ${CMAKE_SOURCE_DIR}/tools/make_delivery.sh
          $<TARGET_FILE:tlfupdate> ${tlf_update_files} ${CMAKE_SOURCE_DIR}/data/fonts
          ${CMAKE_BINARY_DIR}/delivery/tallyfield_update ${tlf_delivery_archive}
          ${tlf_runner}
  DEPENDS tlfupdate ${tlf_update_files_made}
  COMMENT "Assembling the delivery folder"
  VERBATIM)
