[playlist]
File1=C:\a.mp3
Title1=a
File10=rel\b.swf
NumberOfEntries=2
Version=2
