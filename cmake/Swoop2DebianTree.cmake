# Run by CPack on the staged tree before it becomes the Debian package. Debian wants programs
# stripped of symbols and of the compiler's notes (the debugging information stays in the build
# tree), manual pages and the changelog compressed with gzip -9n (no name, no time stamp, so that
# the same sources give the same package), and a copyright file beside the changelog.
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/share/doc/${CPACK_PACKAGE_NAME}")

# A changelog that names another version would describe some other package.
file(STRINGS "${CPACK_SWOOP2_DEBIAN_FILES}/changelog" first LIMIT_COUNT 1)
if(NOT first MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
    message(FATAL_ERROR "packaging/debian/changelog does not begin with version "
                        "${CPACK_PACKAGE_VERSION}: ${first}")
endif()

file(COPY "${CPACK_SWOOP2_DEBIAN_FILES}/copyright" "${CPACK_SWOOP2_DEBIAN_FILES}/changelog"
     DESTINATION "${doc}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(GLOB programs "${root}/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_SWOOP2_STRIP}" --remove-section=.comment
                            --remove-section=.note "${program}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${CPACK_SWOOP2_STRIP} could not strip ${program}")
    endif()
endforeach()

file(GLOB pages "${root}/share/man/man*/*.[1-9]")
foreach(file IN LISTS pages ITEMS "${doc}/changelog")
    execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip could not compress ${file}")
    endif()
endforeach()
