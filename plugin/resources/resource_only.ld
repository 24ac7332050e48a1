/* Linker script for the resource modules: an image of the export directory and the
 * resources only. ld's default script always writes a terminating import descriptor
 * into .idata, so a module without imports would still show an (empty) import
 * table; here there is no .idata, no code and no data. */
SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .edata __image_base__ + ( __section_alignment__ < 0x1000 ? . : __section_alignment__ ) :
  {
    *(.edata)
  }
  .rsrc BLOCK(__section_alignment__) : SUBALIGN(4)
  {
    KEEP (*(.rsrc))
    KEEP (*(.rsrc$*))
  }
  .reloc BLOCK(__section_alignment__) :
  {
    *(.reloc)
  }
  /DISCARD/ :
  {
    *(*)
  }
}
