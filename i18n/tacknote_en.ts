<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="pt_BR">
<context>
    <name>AlarmNotices</name>
    <message>
        <source>Alarme de nota</source>
        <translation>Note alarm</translation>
    </message>
    <message>
        <source>Mostrar a nota</source>
        <translation>Show the note</translation>
    </message>
    <message>
        <source>Tarefas para Hoje</source>
        <translation>Today&apos;s Tasks</translation>
    </message>
    <message>
        <source>Mostrar as tarefas</source>
        <translation>Show the tasks</translation>
    </message>
</context>
<context>
    <name>Backup</name>
    <message>
        <source>Não foi possível fazer a cópia de segurança em %1: o arquivo de notas %2 não pôde ser lido.</source>
        <translation>Could not make the backup in %1: the notes file %2 could not be read.</translation>
    </message>
    <message>
        <source>Não foi possível fazer a cópia de segurança em %1: %2.</source>
        <translation>Could not make the backup in %1: %2.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Tacknote: notas adesivas para a área de trabalho.</source>
        <translation>Tacknote: sticky notes for the desktop.</translation>
    </message>
    <message>
        <source>Mostra esta ajuda e termina.</source>
        <translation>Shows this help and ends.</translation>
    </message>
    <message>
        <source>Mostra a versão do programa e termina.</source>
        <translation>Shows the program&apos;s version and ends.</translation>
    </message>
    <message>
        <source>Cria uma nota com TEXTO, lido da entrada padrão quando TEXTO é &quot;-&quot;; sem TEXTO, uma nota vazia.</source>
        <translation>Creates a note holding TEXT, read from standard input when TEXT is &quot;-&quot;; without TEXT, an empty note.</translation>
    </message>
    <message>
        <source>Mostra todas as notas.</source>
        <translation>Shows every note.</translation>
    </message>
    <message>
        <source>Esconde todas as notas do Tacknote aberto.</source>
        <translation>Hides every note of the running Tacknote.</translation>
    </message>
    <message>
        <source>Esconde todas as notas quando alguma está visível; senão, mostra todas.</source>
        <translation>Hides every note when any is visible; otherwise shows them all.</translation>
    </message>
    <message>
        <source>Salva as notas e fecha o Tacknote aberto.</source>
        <translation>Saves the notes and closes the running Tacknote.</translation>
    </message>
    <message>
        <source>TEXTO</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>O texto da nova nota (com --new-note).</source>
        <translation>The text of the new note (with --new-note).</translation>
    </message>
    <message>
        <source>Escolha só uma das opções --new-note, --show, --hide, --toggle e --quit.</source>
        <translation>Choose only one of the options --new-note, --show, --hide, --toggle and --quit.</translation>
    </message>
    <message>
        <source>Argumento inesperado: %1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>Aviso: o texto foi cortado, pois não cabe numa nota.</source>
        <translation>Warning: the text was cut, as it does not fit in a note.</translation>
    </message>
    <message>
        <source>O Tacknote não está aberto para a pasta %1.</source>
        <translation>Tacknote is not running for the folder %1.</translation>
    </message>
</context>
<context>
    <name>DeletedNotes</name>
    <message>
        <source>O arquivo de notas excluídas %1 não pôde ser lido: %2</source>
        <translation>The deleted-notes file %1 could not be read: %2</translation>
    </message>
</context>
<context>
    <name>ErrorReason</name>
    <message>
        <source>sem espaço livre no disco</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>permissão negada</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>o disco só permite leitura</source>
        <translation>the disk is read-only</translation>
    </message>
    <message>
        <source>o arquivo excede o tamanho permitido</source>
        <translation>the file exceeds the allowed size</translation>
    </message>
    <message>
        <source>erro de entrada e saída</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>a pasta não existe</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>parte do caminho não é uma pasta</source>
        <translation>part of the path is not a folder</translation>
    </message>
    <message>
        <source>já existe uma pasta com esse nome</source>
        <translation>a folder with that name already exists</translation>
    </message>
</context>
<context>
    <name>HiddenMainWindow</name>
    <message>
        <source>Esta área de trabalho não mostra a bandeja do sistema, onde fica o ícone do Tacknote. Para abrir o menu do Tacknote, inicie o Tacknote de novo pelo menu de aplicativos ou por um terminal: o menu se abre junto ao ponteiro do mouse. A ação &quot;Nova Nota&quot; do Tacknote no menu de aplicativos cria uma nota.</source>
        <translation>This desktop does not show the system tray, where the Tacknote icon lives. To open the Tacknote menu, start Tacknote again from the applications menu or from a terminal: the menu opens beside the mouse pointer. The &quot;New Note&quot; action of Tacknote in the applications menu creates a note.</translation>
    </message>
    <message>
        <source>Sair mesmo assim? As alterações feitas desde o último salvamento serão perdidas.</source>
        <translation>Quit anyway? The changes made since the last save will be lost.</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>não é um arquivo comum</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>o arquivo tem mais de %1 MB</source>
        <translation>the file is larger than %1 MB</translation>
    </message>
</context>
<context>
    <name>LinkOpener</name>
    <message>
        <source>A área de trabalho não conseguiu abrir o endereço %1. Verifique se há um navegador instalado.</source>
        <translation>The desktop could not open the address %1. Check that a web browser is installed.</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>Aviso</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Atenção</source>
        <translation>Attention</translation>
    </message>
</context>
<context>
    <name>NetworkErrorTexts</name>
    <message>
        <source>Conexão recusada pelo servidor</source>
        <translation>Connection refused by the server</translation>
    </message>
    <message>
        <source>O servidor encerrou a conexão</source>
        <translation>The server closed the connection</translation>
    </message>
    <message>
        <source>Servidor não encontrado</source>
        <translation>Server not found</translation>
    </message>
    <message>
        <source>Acesso à rede negado</source>
        <translation>Network access denied</translation>
    </message>
    <message>
        <source>Recursos do sistema esgotados</source>
        <translation>Out of system resources</translation>
    </message>
    <message>
        <source>Tempo de conexão esgotado</source>
        <translation>Connection timed out</translation>
    </message>
    <message>
        <source>Rede inacessível</source>
        <translation>Network unreachable</translation>
    </message>
    <message>
        <source>Endereço local já em uso</source>
        <translation>Local address already in use</translation>
    </message>
    <message>
        <source>Endereço local indisponível</source>
        <translation>Local address not available</translation>
    </message>
    <message>
        <source>Erro de rede</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>Não foi possível consultar o nome do servidor</source>
        <translation>The server name could not be looked up</translation>
    </message>
    <message>
        <source>o certificado é autoassinado</source>
        <translation>the certificate is self-signed</translation>
    </message>
    <message>
        <source>o certificado não foi emitido por uma autoridade confiável</source>
        <translation>the certificate was not issued by a trusted authority</translation>
    </message>
    <message>
        <source>o certificado foi emitido para outro nome</source>
        <translation>the certificate was issued for another name</translation>
    </message>
    <message>
        <source>o certificado expirou</source>
        <translation>the certificate has expired</translation>
    </message>
    <message>
        <source>o certificado ainda não é válido</source>
        <translation>the certificate is not valid yet</translation>
    </message>
    <message>
        <source>o certificado foi revogado</source>
        <translation>the certificate has been revoked</translation>
    </message>
    <message>
        <source>Certificado do servidor não confiável: %1</source>
        <translation>Server certificate not trusted: %1</translation>
    </message>
    <message>
        <source>Falha na negociação TLS</source>
        <translation>TLS handshake failed</translation>
    </message>
    <message>
        <source>TLS não está disponível neste sistema</source>
        <translation>TLS is not available on this system</translation>
    </message>
</context>
<context>
    <name>NoteCaptionBar</name>
    <message>
        <source>Esconder esta nota</source>
        <translation>Hide this note</translation>
    </message>
    <message>
        <source>Apagar esta nota</source>
        <translation>Delete this note</translation>
    </message>
</context>
<context>
    <name>NoteCommands</name>
    <message>
        <source>Selecione o Local para Backup</source>
        <translation>Select the Backup Location</translation>
    </message>
    <message>
        <source>Backup efetuado em  </source>
        <translation>Backup made in  </translation>
    </message>
    <message>
        <source>A cópia de segurança na saída do programa não foi feita: nenhuma pasta foi escolhida para ela nas preferências.</source>
        <translation>The backup on exit was not made: no folder was chosen for it in the preferences.</translation>
    </message>
    <message>
        <source>Não há notas excluídas para restaurar.</source>
        <translation>There are no deleted notes to restore.</translation>
    </message>
</context>
<context>
    <name>NoteEdit</name>
    <message>
        <source>Esta nota está cheia: uma nota guarda até %1 caracteres, e cada quebra de linha conta como dois.</source>
        <translation>This note is full: a note holds up to %1 characters, and each line break counts as two.</translation>
    </message>
</context>
<context>
    <name>NotePopupMenu</name>
    <message>
        <source>Abrir &amp;URL</source>
        <translation>Open &amp;URL</translation>
    </message>
    <message>
        <source>C&amp;onfigurar...</source>
        <translation>C&amp;onfigure...</translation>
    </message>
    <message>
        <source>&amp;Título da Nota...</source>
        <translation>Note &amp;Title...</translation>
    </message>
    <message>
        <source>Alarme...</source>
        <translation>Alarm...</translation>
    </message>
    <message>
        <source>Sempre &amp;Visível</source>
        <translation>&amp;Always on Top</translation>
    </message>
    <message>
        <source>Co&amp;piar</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>C&amp;olar</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Enviar...</source>
        <translation>Send...</translation>
    </message>
    <message>
        <source>&amp;Para um Computador...</source>
        <translation>&amp;To a Computer...</translation>
    </message>
    <message>
        <source>&amp;Responder para Computador...</source>
        <translation>&amp;Reply to Computer...</translation>
    </message>
    <message>
        <source>E-Mail...</source>
        <translation>E-Mail...</translation>
    </message>
    <message>
        <source>&amp;Imprimir</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>&amp;Apagar Nota...</source>
        <translation>&amp;Delete Note...</translation>
    </message>
    <message>
        <source>&amp;Localizar Nota...</source>
        <translation>&amp;Find Note...</translation>
    </message>
</context>
<context>
    <name>NoteRegistry</name>
    <message>
        <source>Não é possível criar mais notas: o limite de %1 notas foi atingido. Apague algumas notas e tente novamente.</source>
        <translation>No more notes can be created: the limit of %1 notes has been reached. Delete some notes and try again.</translation>
    </message>
    <message>
        <source>Deseja realmente eliminar esta nota?</source>
        <translation>Do you really want to delete this note?</translation>
    </message>
    <message>
        <source>A nota não poderá ser restaurada em &quot;Notas Excluídas&quot;. Excluir a nota mesmo assim?</source>
        <translation>The note cannot be restored from &quot;Deleted Notes&quot;. Delete the note anyway?</translation>
    </message>
</context>
<context>
    <name>NoteSender</name>
    <message>
        <source>Não foi possível conectar em %1 !</source>
        <translation>Could not connect to %1!</translation>
    </message>
    <message>
        <source>Enviando para %1...</source>
        <translation>Sending to %1...</translation>
    </message>
    <message>
        <source>Transmitindo Nota...</source>
        <translation>Transmitting note...</translation>
    </message>
    <message>
        <source>OK!</source>
        <translation>OK!</translation>
    </message>
    <message>
        <source>Nota Enviada!</source>
        <translation>Note sent!</translation>
    </message>
    <message>
        <source>A conexão com %1 caiu antes do fim da nota!</source>
        <translation>The connection to %1 broke before the end of the note!</translation>
    </message>
</context>
<context>
    <name>NotesKeeper</name>
    <message>
        <source>O arquivo de notas %1 não pôde ser lido: %2

Ele não será alterado enquanto o Tacknote estiver aberto. As notas criadas agora serão guardadas em %3.</source>
        <translation>The notes file %1 could not be read: %2

It will not be changed while Tacknote is running. Notes created now will be kept in %3.</translation>
    </message>
</context>
<context>
    <name>QColorDialog</name>
    <message>
        <source>&amp;Basic colors</source>
        <translation>&amp;Basic colors</translation>
    </message>
</context>
<context>
    <name>QFontDialog</name>
    <message>
        <source>Select Font</source>
        <translation>Select Font</translation>
    </message>
</context>
<context>
    <name>ReceivedNoteBuilder</name>
    <message>
        <source>De </source>
        <translation>From </translation>
    </message>
</context>
<context>
    <name>ReceivedNotes</name>
    <message>
        <source>Uma nota enviada por %1 foi recusada: esse computador enviou notas demais em pouco tempo.</source>
        <translation>A note sent by %1 was refused: that computer sent too many notes in a short time.</translation>
    </message>
    <message>
        <source>Uma nota enviada por %1 foi recusada: as últimas vagas para notas ficam reservadas para as suas próprias notas. Apague algumas notas para voltar a receber notas pela rede.</source>
        <translation>A note sent by %1 was refused: the last places for notes are kept for your own notes. Delete some notes to receive notes over the network again.</translation>
    </message>
    <message>
        <source>Outras notas recusadas não serão avisadas até o Tacknote ser reiniciado.</source>
        <translation>Further refused notes will not be reported until Tacknote is restarted.</translation>
    </message>
</context>
<context>
    <name>SmtpSession</name>
    <message>
        <source>O nome deste computador não pôde ser obtido</source>
        <translation>The name of this computer could not be obtained</translation>
    </message>
    <message>
        <source>O servidor não oferece STARTTLS: a senha não é enviada sem criptografia. Para enviar assim mesmo, escolha a segurança &quot;Nenhuma (texto puro)&quot;.</source>
        <translation>The server does not offer STARTTLS: the password is not sent unencrypted. To send it anyway, choose the security &quot;None (plain text)&quot;.</translation>
    </message>
</context>
<context>
    <name>StartGate</name>
    <message>
        <source>O Tacknote não pôde ser iniciado: a pasta de dados %1 não pôde ser criada (%2).</source>
        <translation>Tacknote could not start: the data folder %1 could not be created (%2).</translation>
    </message>
    <message>
        <source>O Tacknote não pôde ser iniciado: o arquivo de trava %1 não pôde ser criado (%2).</source>
        <translation>Tacknote could not start: the lock file %1 could not be created (%2).</translation>
    </message>
    <message>
        <source>O Tacknote já está aberto para a pasta %1, mas não responde. Feche-o (ou encerre o processo) e inicie o Tacknote de novo.</source>
        <translation>Tacknote is already running for the folder %1, but does not answer. Close it (or end its process) and start Tacknote again.</translation>
    </message>
</context>
<context>
    <name>TacknoteError</name>
    <message>
        <source>Não foi possível gravar em %1</source>
        <translation>Unable to write to %1</translation>
    </message>
    <message>
        <source>Não foi possível gravar em %1: %2</source>
        <translation>Unable to write to %1: %2</translation>
    </message>
</context>
<context>
    <name>TfrmAddContato</name>
    <message>
        <source>Adicionar/Modificar Contatos</source>
        <translation>Add/Change Contacts</translation>
    </message>
    <message>
        <source>&amp;Nome:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;E-Mail ou IP:</source>
        <translation>&amp;E-Mail or IP:</translation>
    </message>
    <message>
        <source>&amp;Anotações:</source>
        <translation>&amp;Remarks:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmAddressBook</name>
    <message>
        <source>Caderneta de Contatos</source>
        <translation>Address Book</translation>
    </message>
    <message>
        <source>&amp;Novo</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Novo Contato</source>
        <translation>New Contact</translation>
    </message>
    <message>
        <source>&amp;Editar</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>Editar Contato</source>
        <translation>Edit Contact</translation>
    </message>
    <message>
        <source>E&amp;xcluir</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Excluir Contato</source>
        <translation>Delete Contact</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Fechar Caderneta</source>
        <translation>Close Address Book</translation>
    </message>
    <message>
        <source>Nome</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>IP ou E-mail</source>
        <translation>IP or E-mail</translation>
    </message>
    <message>
        <source>Anotações</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>Para:</source>
        <translation>To:</translation>
    </message>
    <message>
        <source>Adicionar contato com destinatário</source>
        <translation>Add contact as recipient</translation>
    </message>
    <message>
        <source>Remover Contato como Destinatário</source>
        <translation>Remove Contact as Recipient</translation>
    </message>
    <message>
        <source>Selecione um contato!</source>
        <translation>Select a contact!</translation>
    </message>
    <message>
        <source>Confirma Exclusão deste Contato?</source>
        <translation>Confirm the deletion of this contact?</translation>
    </message>
</context>
<context>
    <name>TfrmAjuda</name>
    <message>
        <source>Ajuda do Tacknote</source>
        <translation>Tacknote Help</translation>
    </message>
    <message>
        <source>A página %1 não foi encontrada.</source>
        <translation>The page %1 was not found.</translation>
    </message>
</context>
<context>
    <name>TfrmConfNota</name>
    <message>
        <source>Configurações</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Aparência</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>Alarmes</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>Sons</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>Geral</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Rede</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>O tempo de salvamento automático deve estar entre 5 e 60 minutos!</source>
        <translation>The autosave interval must be between 5 and 60 minutes!</translation>
    </message>
    <message>
        <source>O intervalo de repetição deve ser um número inteiro entre 1 e 999!</source>
        <translation>The repeat interval must be a whole number between 1 and 999!</translation>
    </message>
    <message>
        <source>A data e hora selecionada para o alarme é mais antiga que a atual!</source>
        <translation>The date and time chosen for the alarm are earlier than now!</translation>
    </message>
    <message>
        <source>Escolha a pasta para o backup na saída do programa!</source>
        <translation>Choose the folder for the backup on exit!</translation>
    </message>
</context>
<context>
    <name>TfrmConfSom</name>
    <message>
        <source>Configurar Som</source>
        <translation>Configure Sound</translation>
    </message>
    <message>
        <source>Sem Som</source>
        <translation>No Sound</translation>
    </message>
    <message>
        <source>Som:</source>
        <translation>Sound:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Arquivos Wave (*.wav)</source>
        <translation>Wave Files (*.wav)</translation>
    </message>
    <message>
        <source>Selecione um arquivo!</source>
        <translation>Select a file!</translation>
    </message>
</context>
<context>
    <name>TfrmEnviaComputador</name>
    <message>
        <source>Enviar para...</source>
        <translation>Send to...</translation>
    </message>
    <message>
        <source>IP ou Nome do Computador:</source>
        <translation>IP or Computer Name:</translation>
    </message>
    <message>
        <source>Caderno de Endereços e Contatos</source>
        <translation>Address Book and Contacts</translation>
    </message>
    <message>
        <source>&amp;Enviar</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Nota Enviada!</source>
        <translation>Note sent!</translation>
    </message>
    <message>
        <source>Estes caracteres não existem na rede e chegarão como &quot;?&quot;: %1</source>
        <translation>The network cannot carry these characters; they will arrive as &quot;?&quot;: %1</translation>
    </message>
</context>
<context>
    <name>TfrmEnviarEmail</name>
    <message>
        <source>Enviar E-Mail</source>
        <translation>Send E-Mail</translation>
    </message>
    <message>
        <source>&amp;Para:</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>Caderno de Endereços e Contatos</source>
        <translation>Address Book and Contacts</translation>
    </message>
    <message>
        <source>&amp;Assunto:</source>
        <translation>&amp;Subject:</translation>
    </message>
    <message>
        <source>Te&amp;xto:</source>
        <translation>Te&amp;xt:</translation>
    </message>
    <message>
        <source>&amp;Enviar</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Este e-mail foi enviado pelo Tacknote</source>
        <translation>This e-mail was sent by Tacknote</translation>
    </message>
    <message>
        <source>Faça o download gratuíto em</source>
        <translation>Download it free at</translation>
    </message>
    <message>
        <source>Conectado!</source>
        <translation>Connected!</translation>
    </message>
    <message>
        <source>Conexão Terminada!</source>
        <translation>Connection closed!</translation>
    </message>
    <message>
        <source>Timeout!!!</source>
        <translation>Timed out!</translation>
    </message>
    <message>
        <source>Conectando ao Servidor...</source>
        <translation>Connecting to the server...</translation>
    </message>
    <message>
        <source>O e-mail foi enviado com sucesso!</source>
        <translation>The e-mail was sent successfully!</translation>
    </message>
    <message>
        <source>O e-mail não foi enviado! Verifique as configurações de rede.</source>
        <translation>The e-mail was not sent! Check the network settings.</translation>
    </message>
    <message>
        <source>O certificado do servidor %1 mudou desde que você confiou nele.</source>
        <translation>The certificate of the server %1 has changed since you trusted it.</translation>
    </message>
    <message>
        <source>O certificado do servidor %1 não pôde ser verificado.</source>
        <translation>The certificate of the server %1 could not be verified.</translation>
    </message>
    <message>
        <source>Titular: %1</source>
        <translation>Holder: %1</translation>
    </message>
    <message>
        <source>Emissor: %1</source>
        <translation>Issuer: %1</translation>
    </message>
    <message>
        <source>Impressão digital SHA-256: %1</source>
        <translation>SHA-256 fingerprint: %1</translation>
    </message>
    <message>
        <source>Motivo: %1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>Confiar neste certificado para este servidor e enviar o e-mail?</source>
        <translation>Trust this certificate for this server and send the e-mail?</translation>
    </message>
</context>
<context>
    <name>TfrmInsereBloq</name>
    <message>
        <source>Inserir Remetente Bloqueado</source>
        <translation>Add Blocked Sender</translation>
    </message>
    <message>
        <source>Insira o e-mail, nome do usuário, nome do computador ou qualquer outra informação que identifica o remetente que você deseja bloquear.</source>
        <translation>Enter the e-mail address, user name, computer name or any other information that identifies the sender you want to block.</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmLocalizaNota</name>
    <message>
        <source>Localizar Nota</source>
        <translation>Find Note</translation>
    </message>
    <message>
        <source>&amp;Localizar no título ou no texto:</source>
        <translation>&amp;Find in the title or text:</translation>
    </message>
    <message>
        <source>&amp;Notas encontradas:</source>
        <translation>&amp;Notes found:</translation>
    </message>
    <message>
        <source>&amp;Mostrar</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TfrmMostraAlarmes</name>
    <message>
        <source>Tarefas para Hoje</source>
        <translation>Today&apos;s Tasks</translation>
    </message>
    <message>
        <source>&amp;Visualizar</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Você não tem tarefas agendadas para hoje!</source>
        <translation>You have no tasks scheduled for today!</translation>
    </message>
    <message>
        <source>Não foi possível abrir a nota! Provavelmente ela já foi excluída.</source>
        <translation>The note could not be opened! It has probably been deleted.</translation>
    </message>
</context>
<context>
    <name>TfrmMudaCaption</name>
    <message>
        <source>Muda Título</source>
        <translation>Change Title</translation>
    </message>
    <message>
        <source>&amp;Título da Nota:</source>
        <translation>Note &amp;Title:</translation>
    </message>
    <message>
        <source>&amp;Padrão</source>
        <translation>&amp;Default</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancelar</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>TfrmNotasExcluidas</name>
    <message>
        <source>Notas Excluídas</source>
        <translation>Deleted Notes</translation>
    </message>
    <message>
        <source>&amp;Notas excluídas nos últimos %1 dias (no máximo as %2 últimas):</source>
        <translation>&amp;Notes deleted in the last %1 days (at most the last %2):</translation>
    </message>
    <message>
        <source>Nota</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Excluída em</source>
        <translation>Deleted on</translation>
    </message>
    <message>
        <source>&amp;Restaurar</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>&amp;Fechar</source>
        <translation>&amp;Close</translation>
    </message>
</context>
<context>
    <name>TfrmSobre</name>
    <message>
        <source>Sobre o Sistema</source>
        <translation>About Tacknote</translation>
    </message>
    <message>
        <source>Versão:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Aqui fica a versão</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>&amp;Nova Nota</source>
        <translation>&amp;New Note</translation>
    </message>
    <message>
        <source>Mo&amp;strar</source>
        <translation>&amp;Show</translation>
    </message>
    <message>
        <source>M&amp;ostrar Escondidas</source>
        <translation>Show &amp;Hidden</translation>
    </message>
    <message>
        <source>Mostrar Tarefas para &amp;Hoje</source>
        <translation>Show &amp;Today&apos;s Tasks</translation>
    </message>
    <message>
        <source>Salvar A&amp;gora</source>
        <translation>Save &amp;Now</translation>
    </message>
    <message>
        <source>Cópia de &amp;Segurança</source>
        <translation>&amp;Backup</translation>
    </message>
    <message>
        <source>&amp;Salvar</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Sair</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&lt;Todos&gt;</source>
        <translation>&lt;All&gt;</translation>
    </message>
    <message>
        <source>Duplo-clique para criar nota</source>
        <translation>Double-click to create a note</translation>
    </message>
    <message>
        <source>&amp;Caderneta de Contatos</source>
        <translation>&amp;Address Book</translation>
    </message>
    <message>
        <source>&amp;Preferências...</source>
        <translation>&amp;Preferences...</translation>
    </message>
    <message>
        <source>&amp;Idioma</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Português</source>
        <translation>Portuguese</translation>
    </message>
    <message>
        <source>Inglês</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Tacknote na Web...</source>
        <translation>Tacknote on the Web...</translation>
    </message>
    <message>
        <source>Sobre o Sistema...</source>
        <translation>About Tacknote...</translation>
    </message>
    <message>
        <source>A&amp;juda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Localizar Nota...</source>
        <translation>&amp;Find Note...</translation>
    </message>
    <message>
        <source>Notas E&amp;xcluídas...</source>
        <translation>Deleted &amp;Notes...</translation>
    </message>
</context>
<context>
    <name>TtabAlarme</name>
    <message>
        <source>Habilita Alarme</source>
        <translation>Enable Alarm</translation>
    </message>
    <message>
        <source>&amp;Data:</source>
        <translation>&amp;Date:</translation>
    </message>
    <message>
        <source>&amp;Hora:</source>
        <translation>&amp;Time:</translation>
    </message>
    <message>
        <source>Relembrar a cada </source>
        <translation>Remind every </translation>
    </message>
    <message numerus="yes">
        <source>minuto(s)</source>
        <translation>
            <numerusform>minute</numerusform>
            <numerusform>minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>hora(s)</source>
        <translation>
            <numerusform>hour</numerusform>
            <numerusform>hours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>dia(s)</source>
        <translation>
            <numerusform>day</numerusform>
            <numerusform>days</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>semana(s)</source>
        <translation>
            <numerusform>week</numerusform>
            <numerusform>weeks</numerusform>
        </translation>
    </message>
    <message>
        <source>Dias da Semana:</source>
        <translation>Days of the Week:</translation>
    </message>
    <message>
        <source>Domingo</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>Segunda</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>Terça</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>Quarta</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>Quinta</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>Sexta</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>Sábado</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>Toca &amp;Som</source>
        <translation>Play &amp;Sound</translation>
    </message>
    <message>
        <source>&amp;Testar</source>
        <translation>&amp;Test</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Arquivos Wave (*.wav)</source>
        <translation>Wave Files (*.wav)</translation>
    </message>
    <message>
        <source>Este não é um arquivo de som válido!</source>
        <translation>This is not a valid sound file!</translation>
    </message>
    <message numerus="yes">
        <source>mês(es)</source>
        <translation>
            <numerusform>month</numerusform>
            <numerusform>months</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TtabFonteCor</name>
    <message>
        <source>Pré-Visualização</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Exemplo de Nota</source>
        <translation>Sample Note</translation>
    </message>
    <message>
        <source>C&amp;or de Fundo</source>
        <translation>Backgr&amp;ound Color</translation>
    </message>
    <message>
        <source>&amp;Fonte</source>
        <translation>&amp;Font</translation>
    </message>
    <message>
        <source>Título</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>&amp;Cor Diferenciada</source>
        <translation>&amp;Distinct Color</translation>
    </message>
    <message>
        <source>Exibir &amp;Data</source>
        <translation>Show &amp;Date</translation>
    </message>
    <message>
        <source>Exibir &amp;Hora</source>
        <translation>Show &amp;Time</translation>
    </message>
    <message>
        <source>E&amp;xibir Barra de Rolagem</source>
        <translation>Show Scroll &amp;Bar</translation>
    </message>
</context>
<context>
    <name>TtabGeral</name>
    <message>
        <source>Informações Pessoais</source>
        <translation>Personal Information</translation>
    </message>
    <message>
        <source>Usuário:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Diretório de Dados:</source>
        <translation>Data Folder:</translation>
    </message>
    <message>
        <source>&amp;Perguntar antes de excluir nota</source>
        <translation>&amp;Ask before deleting a note</translation>
    </message>
    <message>
        <source>Sal&amp;vamento Automático a cada</source>
        <translation>Auto&amp;save every</translation>
    </message>
    <message>
        <source>minutos</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>Mostra Nota com Tarefas Agendadas para o Dia na Inicialização</source>
        <translation>Show Today&apos;s Tasks at Startup</translation>
    </message>
    <message>
        <source>Efetuar Backup na Saída do Programa</source>
        <translation>Back Up on Exit</translation>
    </message>
    <message>
        <source>Selecione o Local para Backup</source>
        <translation>Select the Backup Location</translation>
    </message>
    <message>
        <source>Iniciar o Tacknote com a sessão</source>
        <translation>Start Tacknote with the session</translation>
    </message>
</context>
<context>
    <name>TtabSons</name>
    <message>
        <source>&amp;Utilizar Sons</source>
        <translation>&amp;Use Sounds</translation>
    </message>
    <message>
        <source>Não Utilizar &amp;Sons</source>
        <translation>Do Not Use &amp;Sounds</translation>
    </message>
    <message>
        <source>Evento</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>Caminho Completo</source>
        <translation>Full Path</translation>
    </message>
    <message>
        <source>&amp;Testar</source>
        <translation>&amp;Test</translation>
    </message>
    <message>
        <source>Nova Nota</source>
        <translation>New Note</translation>
    </message>
    <message>
        <source>Excluir Nota</source>
        <translation>Delete Note</translation>
    </message>
    <message>
        <source>Recebimento de Nota</source>
        <translation>Note Received</translation>
    </message>
    <message>
        <source>Evento </source>
        <translation>Event </translation>
    </message>
    <message>
        <source>Este não é um arquivo de som válido!</source>
        <translation>This is not a valid sound file!</translation>
    </message>
</context>
<context>
    <name>TtbsRede</name>
    <message>
        <source>Habilitar Funções de Rede</source>
        <translation>Enable Network Functions</translation>
    </message>
    <message>
        <source>Servidor SMTP</source>
        <translation>SMTP Server</translation>
    </message>
    <message>
        <source>&amp;Endereço</source>
        <translation>&amp;Address</translation>
    </message>
    <message>
        <source>&amp;Porta</source>
        <translation>&amp;Port</translation>
    </message>
    <message>
        <source>&amp;Seu e-mail:</source>
        <translation>&amp;Your e-mail:</translation>
    </message>
    <message>
        <source>&amp;Autenticação</source>
        <translation>Au&amp;thentication</translation>
    </message>
    <message>
        <source>Nenhuma</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Texto Plano</source>
        <translation>Plain Text</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>MD5</source>
        <translation>CRAM-MD5</translation>
    </message>
    <message>
        <source>&amp;Usuário</source>
        <translation>&amp;User</translation>
    </message>
    <message>
        <source>&amp;Senha:</source>
        <translation>Pass&amp;word:</translation>
    </message>
    <message>
        <source>Rede Local</source>
        <translation>Local Network</translation>
    </message>
    <message>
        <source>Não bloqueia notas </source>
        <translation>Do not block notes </translation>
    </message>
    <message>
        <source>Bloqueia todas as notas</source>
        <translation>Block all notes</translation>
    </message>
    <message>
        <source>Bloquear notas vindas de:</source>
        <translation>Block notes from:</translation>
    </message>
    <message>
        <source>&amp;Adicionar</source>
        <translation>A&amp;dd</translation>
    </message>
    <message>
        <source>Apa&amp;gar</source>
        <translation>De&amp;lete</translation>
    </message>
    <message>
        <source>Porta:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Você não inseriu nenhum elemento na lista de bloqueio. O sistema aceitará todas as mensagens.</source>
        <translation>You have not entered any item in the block list. All messages will be accepted.</translation>
    </message>
    <message>
        <source>Selecione um ítem para exclusão!</source>
        <translation>Select an item to delete!</translation>
    </message>
    <message>
        <source>Confirma Exclusão deste ítem?</source>
        <translation>Delete this item?</translation>
    </message>
    <message>
        <source>Se&amp;gurança:</source>
        <translation>Se&amp;curity:</translation>
    </message>
    <message>
        <source>STARTTLS quando oferecido</source>
        <translation>STARTTLS when offered</translation>
    </message>
    <message>
        <source>STARTTLS obrigatório</source>
        <translation>STARTTLS required</translation>
    </message>
    <message>
        <source>TLS implícito (SMTPS, porta 465)</source>
        <translation>Implicit TLS (SMTPS, port 465)</translation>
    </message>
    <message>
        <source>Nenhuma (texto puro)</source>
        <translation>None (plain text)</translation>
    </message>
</context>
</TS>
