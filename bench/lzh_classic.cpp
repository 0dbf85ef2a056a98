#include "bench/lzh_classic.h"

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

// Upper six bits of a position by its first code byte, and the code's length.
uint8_t d_code[256], d_len[256];

void MakePositionTables() {
    static const int counts[] = {1, 3, 8, 12, 24, 16};
    int b = 0, upper = 0;
    for (int length = 3; length <= 8; length++) {
        for (int v = 0; v < counts[length - 3]; v++, upper++) {
            for (int k = 0; k < (1 << (8 - length)); k++, b++) {
                d_code[b] = static_cast<uint8_t>(upper);
                d_len[b] = static_cast<uint8_t>(length);
            }
        }
    }
}

struct Classic {
    const uint8_t* in;
    const uint8_t* in_end;
    unsigned short getbuf = 0;
    int getlen = 0;
    unsigned freq[T + 1];
    int prnt[T + N_CHAR];
    int son[T];
    uint8_t text_buf[N + F - 1];

    int GetC() { return in < in_end ? *in++ : -1; }

    int GetBit() {
        while (getlen <= 8) {
            int i = GetC();
            if (i < 0) i = 0;
            getbuf |= i << (8 - getlen);
            getlen += 8;
        }
        int i = getbuf;
        getbuf <<= 1;
        getlen--;
        return (i >> 15) & 1;
    }

    int GetByte() {
        while (getlen <= 8) {
            int i = GetC();
            if (i < 0) i = 0;
            getbuf |= i << (8 - getlen);
            getlen += 8;
        }
        int i = getbuf;
        getbuf <<= 8;
        getlen -= 8;
        return (i >> 8) & 0xFF;
    }

    void StartHuff() {
        for (int i = 0; i < N_CHAR; i++) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        int i = 0;
        for (int j = N_CHAR; j <= R; j++) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
            i += 2;
        }
        freq[T] = 0xFFFF;
        prnt[R] = 0;
    }

    void Reconst() {
        int j = 0;
        for (int i = 0; i < T; i++) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                j++;
            }
        }
        for (int i = 0, j = N_CHAR; j < T; i += 2, j++) {
            unsigned f = freq[j] = freq[i] + freq[i + 1];
            int k = j - 1;
            while (f < freq[k]) k--;
            k++;
            for (int m = j; m > k; m--) {
                freq[m] = freq[m - 1];
                son[m] = son[m - 1];
            }
            freq[k] = f;
            son[k] = i;
        }
        for (int i = 0; i < T; i++) {
            int k = son[i];
            if (k >= T) {
                prnt[k] = i;
            } else {
                prnt[k] = prnt[k + 1] = i;
            }
        }
    }

    void Update(int c) {
        if (freq[R] == MAX_FREQ) Reconst();
        c = prnt[c + T];
        do {
            unsigned k = ++freq[c];
            int l = c + 1;
            if (k > freq[l]) {
                while (k > freq[++l]) {
                }
                l--;
                freq[c] = freq[l];
                freq[l] = k;
                int i = son[c];
                prnt[i] = l;
                if (i < T) prnt[i + 1] = l;
                int j = son[l];
                son[l] = i;
                prnt[j] = c;
                if (j < T) prnt[j + 1] = c;
                son[c] = j;
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }

    int DecodeChar() {
        unsigned c = son[R];
        while (c < T) {
            c += GetBit();
            c = son[c];
        }
        c -= T;
        Update(c);
        return c;
    }

    int DecodePosition() {
        unsigned i = GetByte();
        unsigned c = static_cast<unsigned>(d_code[i]) << 6;
        int j = d_len[i] - 2;
        while (j--) i = (i << 1) + GetBit();
        return c | (i & 0x3F);
    }
};

}  // namespace

namespace {

// The decoding loop, handing each byte out to `put` as it comes.
template <class Put>
void Decode(const std::vector<uint8_t>& source, Put put) {
    if (source.size() < 4) return;
    const unsigned long textsize = source[0] | (source[1] << 8) | (source[2] << 16) | (unsigned long)source[3] << 24;
    if (d_len[0] == 0) MakePositionTables();

    Classic* s = new Classic{};
    s->in = source.data() + 4;
    s->in_end = source.data() + source.size();
    s->StartHuff();
    for (int i = 0; i < N - F; i++) s->text_buf[i] = ' ';
    int r = N - F;
    for (unsigned long count = 0; count < textsize;) {
        int c = s->DecodeChar();
        if (c < 256) {
            put(static_cast<uint8_t>(c));
            s->text_buf[r++] = static_cast<uint8_t>(c);
            r &= N - 1;
            count++;
        } else {
            int i = (r - s->DecodePosition() - 1) & (N - 1);
            int j = c - 255 + THRESHOLD;
            for (int k = 0; k < j; k++) {
                c = s->text_buf[(i + k) & (N - 1)];
                put(static_cast<uint8_t>(c));
                s->text_buf[r++] = static_cast<uint8_t>(c);
                r &= N - 1;
                count++;
            }
        }
    }
    delete s;
}

}  // namespace

std::vector<uint8_t> ClassicLzhUnpack(const std::vector<uint8_t>& source) {
    std::vector<uint8_t> out;
    Decode(source, [&out](uint8_t c) { out.push_back(c); });
    return out;
}

void ClassicLzhUnpack(const std::vector<uint8_t>& source, std::FILE* out) {
    Decode(source, [out](uint8_t c) { std::putc(c, out); });
}
