! Reference outputs for the fixed-width formatter, produced by a Fortran runtime so the C++ side is
! checked against real edit-descriptor behaviour rather than against our own reading of it.
!
! Regenerate (only when adding cases; the outputs are committed):
!   cd tests/data/fixed_format && gfortran -O0 -o /tmp/gen_cases gen_cases.f90 && /tmp/gen_cases
!
! cases.txt, one field per line:   descriptor|value|[field]
!   value is written with 18 significant digits so strtod gives back the same double; the brackets
!   keep leading and trailing blanks. Iw descriptors print nint(value).
! layouts.txt, one block per layout:
!   layout <layout>
!   int <n> | real <value> | text [<text>]     (items in list order)
!   out [<line>]                               (every output line, in order)
!   end
program gen_cases
    implicit none
    integer, parameter :: dp = kind(1.0d0)
    integer, parameter :: uc = 10, ul = 11, us = 12
    integer(8) :: iv(20)
    real(dp) :: rv(20)
    character(len=40) :: tv(20)
    integer :: tl(20)
    character(len=200) :: L

    open (uc, file='cases.txt', status='replace', action='write')
    open (ul, file='layouts.txt', status='replace', action='write')

    ! ---- Iw and Iw.m (value rounded with nint first)
    call many('I5', [0d0, 7d0, -7d0, 12345d0, -1234d0, 99999d0, 100000d0, -12345d0, 2.7d0, -2.7d0, -0.4d0])
    call many('I1', [0d0, 9d0, 10d0, -1d0])
    call many('I2', [-9d0, -10d0, 99d0])
    call many('I11', [2147483647d0, -2147483648d0, 9876543210d0, -9876543210d0])
    call many('I2.2', [5d0, 0d0, -5d0, 42d0])
    call many('I3.0', [0d0, 1d0, -1d0, -0.4d0])
    call many('I1.0', [0d0])
    call many('I5.3', [7d0, -7d0, 12345d0, 0d0])
    call many('I4.4', [-1d0, 1234d0])
    call many('I6.4', [-12d0])
    call many('I3.3', [1000d0])

    ! ---- Fw.d
    call many('F8.3', [-0.0004d0, 0.0004d0, -0.0005d0, 0.0005d0, 0d0, -0d0, 1d0, -1d0, 123.4567d0, &
                       1234.5678d0, -999.9996d0, 12345.678d0, -1234.5678d0])
    call many('F6.3', [9.9996d0, 9.9994d0, -9.9996d0, -0.0001d0])
    call many('F4.3', [0.5d0, -0.5d0, 0d0, 0.9999d0])
    call many('F5.3', [-0.5d0, 1d0, -0.0004d0])
    call many('F5.2', [0.125d0, 0.375d0, -0.125d0, 0.135d0, 2.675d0, 1.005d0, 0.005d0, -0.005d0])
    call many('F7.0', [0d0, 0.4d0, 0.5d0, 1.5d0, 2.5d0, -0.4d0, -123.6d0, 123456d0, 1234567d0, -123456d0, &
                       999999.5d0])
    call many('F2.0', [0d0, 0.4d0, 9.4d0])
    call many('F10.3', [1d-10, -1d-10, 1d-3, 5d-4, 4.9999d-4])
    call many('F8.5', [1.5d-5, 2.5d-6])
    call many('F12.9', [1.23456789d-5])
    call many('F30.2', [1d20, 1d23, 1.2345678901234567d20, -9.87654321d18, 2d0**70])
    call many('F25.5', [123456789.123456789d0])
    call many('F25.20', [0.1d0])
    call many('F20.17', [0.1d0, 2d0/3d0])
    call many('F6.1', [1d5, 9999.95d0, -999.94d0])
    call many('F8.1', [1d5])
    call many('F10.4', [-12.34565d0, 3.14159265358979d0])

    ! ---- Ew.d
    call many('E10.3', [12.34d0, -0.01234d0, 0d0, -0d0, 1d0, -1d0, 0.9995d0, 9.9995d0, 0.1d0, 99.95d0, &
                        9.995d0, 0.125d0, 1d99, -1d99, 9.9996d98, 9.9996d99, 1d100, 1d-99, 1d-100, 9.9996d-101, &
                        1d-101, 1d300, 1d-300, &
                        huge(1d0), tiny(1d0), 4.9406564584124654d-324])
    call many('E9.3', [-0.01234d0, 0.01234d0, -0d0, -1d100, 1d-101])
    call many('E8.3', [0.01234d0, -0.01234d0, 1d100])
    call many('E7.3', [1d0])
    call many('E6.3', [1d0])
    call many('E12.3', [1d-5, 1.234d-5, -1.234d-5, 1d99, -9.9996d99])
    call many('E13.4', [12.34d0, -0.01234d0, 123456.789d0, 1d-5, 0.99995d0, 6.02214076d23, -1d-200])
    call many('E14.3', [12.34d0, -1d-300, 1d200])
    call many('E10.2', [0.125d0, 0.375d0, -0.625d0])
    call many('E15.8', [3.14159265358979324d0, -3.14159265358979324d0])
    call many('E20.15', [0.1d0])
    call many('E25.20', [0.1d0])
    call many('E12.6', [123456.5d0, 1234567.5d0])

    ! ---- Dw.d
    call many('D10.3', [12.34d0, -0.01234d0, 0d0, 1d150, 1d-150, 9.9996d99])
    call many('D12.4', [-1d-10, 1d100, -1d-100])
    call many('D9.3', [-0.01234d0, -1d-101])
    call many('D8.3', [1d0])
    call many('D15.7', [123.456d0, -0.000123456d0])

    ! ---- whole layouts
    L = "(5X,73('='))"; call begin(L, ''); write (us, L); call finish()
    L = "(/,'                    ')"; call begin(L, ''); write (us, L); call finish()
    L = "()"; call begin(L, ''); write (us, L); call finish()
    L = "('SPECIFIED''TOLERANCE')"; call begin(L, ''); write (us, L); call finish()
    L = "('''')"; call begin(L, ''); write (us, L); call finish()
    L = "('a(b),c/d',I2)"; iv(1) = 5; call begin(L, 'i'); write (us, L) iv(1); call finish()
    L = "('A',3X,'B')"; call begin(L, ''); write (us, L); call finish()
    L = "('A',3X)"; call begin(L, ''); write (us, L); call finish()
    L = "('A',3X,/,'B')"; call begin(L, ''); write (us, L); call finish()
    L = "('A',2/,'B')"; call begin(L, ''); write (us, L); call finish()
    L = "('A',/)"; call begin(L, ''); write (us, L); call finish()
    L = "(/)"; call begin(L, ''); write (us, L); call finish()
    L = "(10X)"; call begin(L, ''); write (us, L); call finish()
    L = "(3('ab'))"; call begin(L, ''); write (us, L); call finish()
    L = "(2('x',1X),'y')"; call begin(L, ''); write (us, L); call finish()
    L = "(2('x',1X))"; call begin(L, ''); write (us, L); call finish()

    L = "(2X,I4,2X,E10.3,6E12.3)"
    iv(1) = 12; rv(1:7) = [12.34d0, -0.01234d0, 1.234d-5, 0d0, 1d100, -9.9995d0, 0.5d0]
    call begin(L, 'irrrrrrr'); write (us, L) iv(1), rv(1:7); call finish()
    iv(1) = -3; rv(1:3) = [1d0, 2d0, 3d0]
    call begin(L, 'irrr'); write (us, L) iv(1), rv(1:3); call finish()
    L = "(6E12.3)"; rv(1:8) = [1d0, 2d0, 3d0, 4d0, 5d0, 6d0, 7d0, 8d0]
    call begin(L, 'rrrrrrrr'); write (us, L) rv(1:8); call finish()

    L = "(5X,2(I3,1X))"; iv(1:5) = [1, 2, 3, 4, 5]
    call begin(L, 'iiiii'); write (us, L) iv(1:5); call finish()
    L = "(I3,1X,I3)"; iv(1:5) = [1, 2, 3, 4, 5]
    call begin(L, 'iiiii'); write (us, L) iv(1:5); call finish()
    L = "('H',I2,3(1X,I2))"; iv(1:8) = [1, 2, 3, 4, 5, 6, 7, 8]
    call begin(L, 'iiiiiiii'); write (us, L) iv(1:8); call finish()
    L = "(I2,2(I2,1X),I3)"; iv(1:6) = [1, 2, 3, 4, 5, 6]
    call begin(L, 'iiiiii'); write (us, L) iv(1:6); call finish()
    L = "('>',2(I2,1X),'|',2(I1),'<')"; iv(1:7) = [1, 2, 3, 4, 5, 6, 7]
    call begin(L, 'iiiiiii'); write (us, L) iv(1:7); call finish()
    L = "(2(I2,2(1X,A)))"; iv(1:2) = [1, 2]
    call st(1, 'a'); call st(2, 'b'); call st(3, 'c'); call st(4, 'd')
    call begin(L, 'ittitt')
    write (us, L) iv(1), tv(1) (1:tl(1)), tv(2) (1:tl(2)), iv(2), tv(3) (1:tl(3)), tv(4) (1:tl(4))
    call finish()
    L = "('x',I3)"; iv(1:3) = [1, 2, 3]
    call begin(L, 'iii'); write (us, L) iv(1:3); call finish()
    L = "(2('-'),I2)"; iv(1:2) = [1, 2]
    call begin(L, 'ii'); write (us, L) iv(1:2); call finish()

    L = "('AB',I3,'CD')"
    call begin(L, ''); write (us, L); call finish()
    iv(1:2) = [1, 2]
    call begin(L, 'i'); write (us, L) iv(1); call finish()
    call begin(L, 'ii'); write (us, L) iv(1:2); call finish()
    L = "(I3,/)"; iv(1) = 1
    call begin(L, 'i'); write (us, L) iv(1); call finish()
    L = "(I3,'x',/,'y',I3,'z')"; iv(1) = 1
    call begin(L, 'i'); write (us, L) iv(1); call finish()
    L = "(2(/,I3))"; iv(1:2) = [1, 2]
    call begin(L, 'ii'); write (us, L) iv(1:2); call finish()
    L = "(I3,5X)"; iv(1) = 1
    call begin(L, 'i'); write (us, L) iv(1); call finish()
    L = "(' ',I3,' ')"; iv(1) = 1
    call begin(L, 'i'); write (us, L) iv(1); call finish()
    L = "(2I3,I3.2)"; iv(1:3) = [-5, 123, 7]
    call begin(L, 'iii'); write (us, L) iv(1:3); call finish()

    L = "(A5)"; call st(1, 'ab')
    call begin(L, 't'); write (us, L) tv(1) (1:tl(1)); call finish()
    L = "(A2)"; call st(1, 'abcdef')
    call begin(L, 't'); write (us, L) tv(1) (1:tl(1)); call finish()
    L = "(A)"; call st(1, 'hello, world')
    call begin(L, 't'); write (us, L) tv(1) (1:tl(1)); call finish()
    L = "(A,'|',A)"; call st(1, ''); call st(2, 'x')
    call begin(L, 'tt'); write (us, L) tv(1) (1:tl(1)), tv(2) (1:tl(2)); call finish()
    L = "(3A4)"; call st(1, 'a'); call st(2, 'b c'); call st(3, 'defgh')
    call begin(L, 'ttt'); write (us, L) tv(1) (1:tl(1)), tv(2) (1:tl(2)), tv(3) (1:tl(3)); call finish()
    L = "(A3,A)"; call st(1, '  '); call st(2, 'end  ')
    call begin(L, 'tt'); write (us, L) tv(1) (1:tl(1)), tv(2) (1:tl(2)); call finish()

    L = "(1X,I5.3,F8.3,D12.4)"; iv(1) = -7; rv(1:2) = [-0.0004d0, -1d-10]
    call begin(L, 'irr'); write (us, L) iv(1), rv(1:2); call finish()
    L = "(F7.2,A,E10.3)"; rv(1:2) = [3.14159d0, 12.34d0]; call st(1, ' = ')
    call begin(L, 'rtr'); write (us, L) rv(1), tv(1) (1:tl(1)), rv(2); call finish()
    L = "(3F5.1)"; rv(1:4) = [1.25d0, -0.05d0, 99.95d0, 1d3]
    call begin(L, 'rrrr'); write (us, L) rv(1:4); call finish()
    L = "('k=',I2,2X,'x=',F6.2,5X)"; iv(1:2) = [1, 2]; rv(1:2) = [0.5d0, -1.5d0]
    call begin(L, 'irir'); write (us, L) iv(1), rv(1), iv(2), rv(2); call finish()

    close (uc)
    close (ul)

contains

    subroutine many(desc, xs)
        character(len=*), intent(in) :: desc
        real(dp), intent(in) :: xs(:)
        integer :: k
        do k = 1, size(xs)
            call fld(desc, xs(k))
        end do
    end subroutine

    subroutine fld(desc, x)
        character(len=*), intent(in) :: desc
        real(dp), intent(in) :: x
        character(len=200) :: buf
        character(len=40) :: vb
        integer :: n
        ! A trailing marker shows where the field ends, since the buffer is blank padded.
        if (desc(1:1) == 'I') then
            write (buf, '(' // desc // ',"#")') nint(x, kind=8)
        else
            write (buf, '(' // desc // ',"#")') x
        end if
        n = index(buf, '#') - 1
        write (vb, '(ES25.17E3)') x
        write (uc, '(A)') desc // '|' // trim(adjustl(vb)) // '|[' // buf(1:n) // ']'
    end subroutine

    subroutine st(k, s)
        integer, intent(in) :: k
        character(len=*), intent(in) :: s
        tv(k) = s
        tl(k) = len(s)
    end subroutine

    ! Records the layout and its items (sig: one letter i/r/t per item, in list order), then opens
    ! the scratch unit the case writes to.
    subroutine begin(lay, sig)
        character(len=*), intent(in) :: lay, sig
        character(len=40) :: vb
        integer :: k, ni, nr, nt
        ni = 0; nr = 0; nt = 0
        write (ul, '(A)') 'layout ' // trim(lay)
        do k = 1, len(sig)
            select case (sig(k:k))
            case ('i')
                ni = ni + 1
                write (vb, '(I0)') iv(ni)
                write (ul, '(A)') 'int ' // trim(vb)
            case ('r')
                nr = nr + 1
                write (vb, '(ES25.17E3)') rv(nr)
                write (ul, '(A)') 'real ' // trim(adjustl(vb))
            case ('t')
                nt = nt + 1
                write (ul, '(A)') 'text [' // tv(nt) (1:tl(nt)) // ']'
            end select
        end do
        open (us, status='scratch', form='formatted', action='readwrite')
    end subroutine

    ! Reads back what the case wrote, record by record, keeping exact lengths.
    subroutine finish()
        character(len=2000) :: buf
        integer :: n, ios
        rewind (us)
        do
            read (us, '(A)', advance='no', size=n, iostat=ios) buf
            if (is_iostat_end(ios)) exit
            write (ul, '(A)') 'out [' // buf(1:n) // ']'
        end do
        close (us)
        write (ul, '(A)') 'end'
    end subroutine

end program gen_cases
