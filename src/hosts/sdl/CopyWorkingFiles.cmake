# Copies the working files of a run (03_16/, charImg/, mouse6.ani) from the generated tree
# into the run folder, leaving everything else there (the record files) alone.
# Usage: cmake -DFROM=<generated> -DTO=<run> -P CopyWorkingFiles.cmake
file(MAKE_DIRECTORY ${TO})
foreach(folder 03_16 charImg)
  if(IS_DIRECTORY ${FROM}/${folder})
    file(COPY ${FROM}/${folder} DESTINATION ${TO})
  endif()
endforeach()
if(EXISTS ${FROM}/mouse6.ani)
  file(COPY ${FROM}/mouse6.ani DESTINATION ${TO})
endif()
