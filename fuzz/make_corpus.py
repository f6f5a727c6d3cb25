#!/usr/bin/env python3
"""Writes the seed corpus (corpus/<target>/) and the dictionaries (dict/<target>.dict)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def utf16(text):
    return text.encode('utf-16-le', 'surrogatepass')


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def field_text_input(width, code_page, text, records=b''):
    return bytes([width - 1, code_page, len(text)]) + text + records


COMMON = [r'"\xFF\xFE"', r'"\xFE\xFF"', r'"\xEF\xBB\xBF"', r'"\x0D\x00\x0A\x00"',
          r'"\x0A\x00"', r'"\x00\x00"', r'"\xFF\xFF"', r'"\x00\xD8"', r'"\x00\xDC"']
CODE_PAGES = [r'"\x%02X"' % n for n in list(range(1, 17)) + [80, 85]]
LISTS = ['"TCP"', '"UDP"', '"OFF"', '"15 sec."', '"5 min."', '"1:30 h."', '"24 h."']
DICTS = {
    'register_load': COMMON + ['"%s"' % r'/\x00h\x00o\x00m\x00e\x00'],
    'record_files': COMMON + CODE_PAGES,
    'field_text': COMMON + CODE_PAGES + LISTS + [r'"\xD0\x90"', r'"\xC3\xA9"', r'"\xE2\x82\xAC"'],
    'number_text': ['"0"', '"9"', '"255"', '"65535"', '"16777215"', '"4294967295"',
                    '"18446744073709551615"', '"18446744073709551616"', r'"\xD9\xA3"',
                    r'"\xEF\xBC\x91"', '" "', '"-"', '"+"'],
    'printer_settings': COMMON,
    'drive_import': [r'"\x00"', r'"\x01"', r'"\x02"', r'"\x03"', r'"\x04"', r'"\x09"'],
    'calibration_xml': COMMON + CODE_PAGES + ['"<"', '"&"', '"]]>"', '"?>"', r'"\x0D"',
                                              r'"\x1F"', r'"\xEF\xBF\xBE"'],
}


def main():
    crlf = '\r\n'
    for name, text in {
        'two_paths': '/home/shop/one' + crlf + '/media/two' + crlf,
        'bom': '\ufeff/srv/a' + crlf,
        'lf_blank_controls': '/a\n\n\t/b\x01\x1f/c',
        'no_line_end': '/x' + crlf + '/y',
        'same_twice': '/d' + crlf + '/d' + crlf,
        'bom_on_second_line': '/a' + crlf + '\ufeff/b' + crlf,
        'cyrillic': '/home/мастерская' + crlf,
    }.items():
        write('register_load', name, utf16(text))
    write('register_load', 'odd_byte', utf16('/odd') + b'\x41')
    write('register_load', 'empty', b'')
    write('register_load', 'lone_surrogate', b'/\x00\x00\xd8a\x00')
    # Read as the workshop's SINFO.BIN too: every field of the record full to its width.
    write('register_load', 'record_fields_full', utf16('Ш' * 584))

    for size in (1, 137, 145, 171, 175, 1168, 1624, 2000):
        write('record_files', 'pattern_%d' % size, bytes((i * 7 + 1) % 256 for i in range(size)))
    param = bytearray(175)
    param[99:99 + 17] = b'XTA21099012345678'
    param[116] = 0x12
    param[117] = 5
    param[118:118 + 6] = 'А123ВС'.encode('iso8859-5')
    write('record_files', 'param_cyrillic', bytes(param))
    write('record_files', 'workshop_full', utf16('Ш' * 300))
    # Every text field of every record full of ASCII letters, every number non-zero.
    write('record_files', 'ascii_full', bytes(0x41 + i % 26 for i in range(1624)))

    owner = utf16('Иванов') + bytes(520 - 12)
    write('field_text', 'ascii_number', field_text_input(13, 5, b'A123BC', bytes(param)))
    write('field_text', 'cyrillic', field_text_input(17, 5, 'А123ВС'.encode(), bytes(param)))
    write('field_text', 'greek', field_text_input(13, 7, 'ΑΒΓ123'.encode()))
    write('field_text', 'too_long', field_text_input(4, 1, 'ÄÖÜ'.encode()))
    write('field_text', 'nul_inside', field_text_input(8, 80, b'AB\x00CD'))
    write('field_text', 'bom_text', field_text_input(20, 0, '\ufeffTCP'.encode()))
    write('field_text', 'invalid_utf8', field_text_input(40, 85, b'\xc3\x28\xff\xfe',
                                                          bytes(param) + bytes(145) + owner))
    write('field_text', 'list_texts', field_text_input(40, 16, b'5 min.',
                                                        bytes(param) + bytes([1] * 145)))

    for name, (width, ceiling, text) in {
        'zero': (1, 0, '0'), 'empty': (2, 5, ''), 'byte_max': (1, 255, '255'),
        'byte_over': (1, 100, '256'), 'u64_max': (8, 2**64 - 1, '18446744073709551615'),
        'u64_over': (8, 2**64 - 1, '18446744073709551616'), 'letter': (4, 9, '12a'),
        'arabic_digit': (2, 10, '٣'), 'leading_zeros': (3, 1000, '0000000000000000000000042'),
        'very_long': (8, 7, '9' * 60),
    }.items():
        write('number_text', name, bytes([width - 1]) + struct.pack('>Q', ceiling) +
              text.encode())

    def printer_file(record, ticket):
        block = bytearray(1040)
        block[0:len(utf16(record))] = utf16(record)
        block[520:520 + len(utf16(ticket))] = utf16(ticket)
        return bytes(block)
    write('printer_settings', 'two_names', printer_file('Office_PDF', 'Ticket'))
    write('printer_settings', 'empty', b'')
    write('printer_settings', 'short', utf16('Offi'))
    write('printer_settings', 'no_terminators', utf16('P' * 520))
    write('printer_settings', 'longer', printer_file('Принтер', '') + b'tail')

    write('calibration_xml', 'zero', bytes(3200))
    write('calibration_xml', 'pattern', bytes((i * 13 + 5) % 256 for i in range(3200)))
    write('calibration_xml', 'markup', b'\x04<&>\x08\x06"?>" \x00' + (b'<&>\x0d\x1f]]>' * 300))

    # Entries: name length - 1, letters (indices into an alphabet), kind (0 folder, 1 file with length and bytes,
    # 2 link, 3 pipe, 4 up); the first byte counts the entries already in the workshop.
    write('drive_import', 'empty', b'')
    write('drive_import', 'folders_and_files',
          bytes([3, 0, 0, 1, 5]) + b'ABCDE' + bytes([0, 1, 0, 0, 2, 1, 3, 1, 2, 3, 0, 3, 4,
                                                    1, 4, 5, 1, 1, 0, 1, 2, 1, 1]))
    write('drive_import', 'links_and_pipes',
          bytes([0, 0, 0, 2, 1, 0, 1, 2, 0, 0, 2, 3, 0, 3, 0, 0, 4, 1, 2]) + b'XY')
    write('drive_import', 'conflicts',
          bytes([2, 0, 0, 0, 0, 1, 1, 1, 0x30, 0, 0, 1, 1, 0x31, 0, 1, 0, 0, 2, 1, 3, 0x32, 0x33,
                 0x34]))

    # Letters: A 0, B 1, '1' 2, '0' 9. Sibling folders whose names share a prefix on both
    # sides, and one tree as deep as the target makes them.
    def entry(letters, kind, content=b''):
        data = bytes([len(letters) - 1] + letters + [kind])
        return data + (bytes([len(content)]) + content if kind == 1 else b'')
    write('drive_import', 'prefix_siblings',
          bytes([3]) + entry([0, 2], 0) + entry([1], 1, b'old') + entry([0], 4) +
          entry([0, 2], 0) + entry([1], 1, b'new') + entry([0], 4) +
          entry([0, 2, 9], 0) + entry([1], 1, b'ten') + entry([0], 4) +
          entry([0, 2, 9, 9], 1, b'file') + entry([0], 0) + entry([0, 2], 1, b'in A'))
    write('drive_import', 'deep_tree',
          bytes([0]) + b''.join(entry([i % 10, (i + 3) % 10], 0) for i in range(12)) +
          entry([1], 1, b'bottom') + entry([0], 4) + entry([2], 1, b'one up'))

    os.makedirs(os.path.join(HERE, 'dict'), exist_ok=True)
    for target, entries in DICTS.items():
        with open(os.path.join(HERE, 'dict', target + '.dict'), 'w') as f:
            f.write('\n'.join(entries) + '\n')


if __name__ == '__main__':
    main()
