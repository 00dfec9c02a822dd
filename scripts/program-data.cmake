cmake_minimum_required(VERSION 3.25)

# Fills a program folder from the data folder:
#   cmake -DDATA=<data folder> -DPROGRAM_FOLDER=<folder> -P program-data.cmake
# A sample template goes in only when its folder is missing: a template folder
# that is there belongs to the user (saved presets, edited or deleted pictures)
# and is left exactly as it is. The help pages are the program's own and are
# copied afresh.
foreach(variable DATA PROGRAM_FOLDER)
  if(NOT IS_DIRECTORY "${${variable}}")
    message(FATAL_ERROR "${variable} is not a folder: '${${variable}}'")
  endif()
endforeach()

set(templates "${PROGRAM_FOLDER}/templates")
file(MAKE_DIRECTORY "${templates}")
file(GLOB samples LIST_DIRECTORIES true RELATIVE "${DATA}/templates" "${DATA}/templates/*")
foreach(sample IN LISTS samples)
  if(IS_DIRECTORY "${DATA}/templates/${sample}"
     AND NOT EXISTS "${templates}/${sample}" AND NOT IS_SYMLINK "${templates}/${sample}")
    file(COPY "${DATA}/templates/${sample}" DESTINATION "${templates}")
  endif()
endforeach()

file(REMOVE_RECURSE "${PROGRAM_FOLDER}/help")
file(COPY "${DATA}/help" DESTINATION "${PROGRAM_FOLDER}")
